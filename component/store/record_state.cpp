#include "component/store/record_state.h"

namespace quillmere {

namespace xml = platform::xml;

std::string RecordState(xml::Node record) {
    return xml::requireAttribute(record, kStateAttribute);
}

void SetRecordState(xml::Node record, std::string_view state) {
    xml::setAttribute(record, kStateAttribute, state);
}

std::string StateAfterUpdate(std::string_view state) {
    if (state == kStateNewUploaded) return std::string(kStateNew);
    if (state == kStateChangedUploaded || state == kStateReceived)
        return std::string(kStateChanged);
    return std::string(state);
}

bool StateIn(std::string_view state, StateSet states) {
    for (std::string_view admitted : states)
        if (state == admitted) return true;
    return false;
}

bool IsUploadedState(std::string_view state) {
    return StateIn(state, kUploadedStates);
}

bool IsProvisionalNumber(std::string_view number) {
    return !number.empty() && number.front() == '_';
}

bool IsSettledForUpload(std::string_view state) {
    return state == kStateReceived || state == kStateNewUploaded || state == kStateChangedUploaded;
}

void AppendUploadMark(xml::Node record) {
    SetRecordState(record, RecordState(record) + "U");
}

}  // namespace quillmere
