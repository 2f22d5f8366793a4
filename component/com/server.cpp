// The in-process server entry points of libquillmere.so: registration in the machine's
// registry, the class factory of Client20 and the dispatch interface that turns automation
// calls into calls of the method table.
#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "component/com/automation.h"
#include "component/core/method_bindings.h"
#include "platform/failure.h"
#include "platform/registry.h"

using namespace quillmere;
using namespace quillmere::com;

namespace {

std::atomic<int> gLiveObjects{0};
std::atomic<int> gServerLocks{0};

std::string guidText(const Guid& g) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  g.data1, g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3],
                  g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return buffer;
}

Bstr allocText(const std::string& text) {
    return QmSysAllocString(text.data(), static_cast<uint32_t>(text.size()));
}

std::string bstrText(Bstr text) {
    return text ? std::string(text, QmSysStringLen(text)) : std::string();
}

// The automation value behind an argument (following a by-reference pointer); nullopt for a
// type that does not cross this boundary, so that no argument turns silently into "empty".
// A 32-bit integer within the 16-bit range is that integer; beyond it, its decimal text (which
// a 16-bit parameter then refuses with an overflow).
std::optional<Variant> fromComVariant(const ComVariant& value) {
    const bool byRef = (value.vt & kVtByRef) != 0;
    switch (value.vt & ~kVtByRef) {
        case kVtEmpty:
            if (!byRef) return Variant();
            break;
        case kVtBstr:
            if (byRef && !value.pbstrVal) break;
            return Variant::text(bstrText(byRef ? *value.pbstrVal : value.bstrVal));
        case kVtI2:
            if (byRef && !value.piVal) break;
            return Variant::int16(byRef ? *value.piVal : value.iVal);
        case kVtI4: {
            if (byRef && !value.plVal) break;
            const int32_t number = byRef ? *value.plVal : value.lVal;
            if (number >= INT16_MIN && number <= INT16_MAX)
                return Variant::int16(static_cast<int16_t>(number));
            return Variant::text(std::to_string(number));
        }
        case kVtBool:
            if (byRef && !value.piVal) break;
            return Variant::boolean((byRef ? *value.piVal : value.boolVal) != 0);
        case kVtVariant:
            if (byRef && value.pvarVal) return fromComVariant(*value.pvarVal);
            break;
        default:
            break;
    }
    return std::nullopt;
}

void toComVariant(const Variant& value, ComVariant& out) {
    out = ComVariant{};
    switch (value.kind()) {
        case Variant::Kind::Empty:
            out.vt = kVtEmpty;
            break;
        case Variant::Kind::Text:
            out.vt = kVtBstr;
            out.bstrVal = allocText(value.textRef());
            break;
        case Variant::Kind::Int16:
            out.vt = kVtI2;
            out.iVal = value.asInt16();
            break;
        case Variant::Kind::Boolean:
            out.vt = kVtBool;
            out.boolVal = value.asBoolean() ? -1 : 0;
            break;
    }
}

// Writes a by-reference parameter back into the caller's storage.
void writeBack(const Variant& value, ComVariant& target) {
    if ((target.vt & kVtByRef) == 0) return;
    switch (target.vt & ~kVtByRef) {
        case kVtBstr:
            QmSysFreeString(*target.pbstrVal);
            *target.pbstrVal = allocText(value.asText());
            break;
        case kVtI2:
            *target.piVal = value.asInt16();
            break;
        case kVtI4:
            *target.plVal = value.asInt16();
            break;
        case kVtVariant:
            QmVariantClear(target.pvarVal);
            toComVariant(value, *target.pvarVal);
            break;
        default:
            break;
    }
}

class Client20Object final : public IDispatch {
  public:
    Client20Object() : client_(CreateClient20(platform::MachineRoot::resolve(), messages_)) {
        ++gLiveObjects;
    }
    ~Client20Object() { --gLiveObjects; }

    HRESULT QueryInterface(const Guid& iid, void** object) override {
        if (!object) return kPointer;
        if (iid == kIidUnknown || iid == kIidDispatch || iid == kIidClient20) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return kOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override {
        const uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT GetTypeInfoCount(uint32_t* count) override {
        if (count) *count = 0;
        return kOk;
    }
    HRESULT GetTypeInfo(uint32_t, uint32_t, void** info) override {
        if (info) *info = nullptr;
        return static_cast<HRESULT>(0x8002000B);  // DISP_E_BADINDEX: no type information here
    }
    HRESULT GetIDsOfNames(const Guid&, const char* const* names, uint32_t count, uint32_t,
                          int32_t* dispIds) override {
        if (count > 0 && (!names || !dispIds)) return kPointer;
        HRESULT result = kOk;
        for (uint32_t i = 0; i < count; ++i) {
            const MethodDeclaration* method =
                i == 0 && names[i] ? findMethod(std::string_view(names[i])) : nullptr;
            dispIds[i] = method ? method->dispId() : -1;
            if (!method) result = kDispUnknownName;
        }
        return result;
    }
    HRESULT Invoke(int32_t dispId, const Guid&, uint32_t, uint16_t, DispParams* params,
                   ComVariant* result, ExcepInfo* exception, uint32_t* argError) override {
        std::vector<Variant> args;
        const uint32_t count = params ? params->cArgs : 0;
        if (count > 0 && !params->rgvarg) return kPointer;
        for (uint32_t i = 0; i < count; ++i) {
            const std::optional<Variant> arg = fromComVariant(params->rgvarg[count - 1 - i]);
            if (!arg) {
                if (argError) *argError = count - 1 - i;
                return kDispTypeMismatch;
            }
            args.push_back(*arg);
        }
        // Keep the object alive for the length of the call.
        AddRef();
        const CallOutcome outcome = client_->invoke(dispId, args);
        Release();
        if (!outcome.succeeded) return fail(outcome, exception);
        // Only by-reference parameters go back; a script that hands a variable by reference to
        // a by-value parameter keeps its variable as it was.
        const MethodDeclaration* method = findMethod(dispId);
        for (uint32_t i = 0; i < count; ++i)
            if (method && method->params[i].byRef)
                writeBack(args[i], params->rgvarg[count - 1 - i]);
        if (result) toComVariant(outcome.result, *result);
        return kOk;
    }

  private:
    static HRESULT fail(const CallOutcome& outcome, ExcepInfo* exception) {
        const auto code = static_cast<HRESULT>(outcome.code);
        // Failures of the dispatch itself are answered directly, failures of a method's logic
        // as an exception carrying the code and description.
        if ((outcome.code & 0xFFFF0000u) == 0x80020000u) return code;
        if (exception) {
            *exception = ExcepInfo{};
            exception->bstrSource = allocText("Quillmere");
            exception->bstrDescription = allocText(outcome.description);
            exception->scode = code;
        }
        return kDispException;
    }

    std::atomic<uint32_t> references_{1};
    platform::StandardErrorMessageSink messages_;
    std::unique_ptr<Client20> client_;
};

class Client20Factory final : public IClassFactory {
  public:
    HRESULT QueryInterface(const Guid& iid, void** object) override {
        if (!object) return kPointer;
        if (iid == kIidUnknown || iid == kIidClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return kOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    uint32_t AddRef() override { return 2; }  // the factory lives as long as the library
    uint32_t Release() override { return 1; }
    HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** object) override {
        if (!object) return kPointer;
        *object = nullptr;
        if (outer) return kNoAggregation;
        try {
            auto* instance = new Client20Object();
            const HRESULT result = instance->QueryInterface(iid, object);
            instance->Release();
            return result;
        } catch (const platform::PlatformError& error) {
            return static_cast<HRESULT>(error.code());
        } catch (...) {
            return kFail;
        }
    }
    HRESULT LockServer(int32_t lock) override {
        gServerLocks += lock ? 1 : -1;
        return kOk;
    }
};

Client20Factory gFactory;

std::string libraryPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DllGetClassObject), &info) && info.dli_fname)
        return info.dli_fname;
    return "libquillmere.so";
}

const char kClassesKey[] = "SOFTWARE\\Classes";
const char kProgId[] = "Quillmere.Client20";

struct RegistrationEntry {
    std::string key;
    std::string name;
    std::string data;
};

std::vector<RegistrationEntry> registrationEntries() {
    const std::string classes = kClassesKey;
    const std::string clsidKey = classes + "\\CLSID\\" + guidText(kClsidClient20);
    const std::string interfaceKey = classes + "\\Interface\\" + guidText(kIidClient20);
    const std::string typeLibKey = classes + "\\TypeLib\\" + guidText(kLibId) + "\\1.0";
    const std::string library = libraryPath();
    return {
        {clsidKey, "", kProgId},
        {clsidKey + "\\InprocServer32", "", library},
        {clsidKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {clsidKey + "\\ProgID", "", kProgId},
        {clsidKey + "\\TypeLib", "", guidText(kLibId)},
        {clsidKey + "\\Version", "", "1.0"},
        {classes + "\\" + kProgId, "", kProgId},
        {classes + "\\" + kProgId + "\\CLSID", "", guidText(kClsidClient20)},
        {interfaceKey, "", "_Client20"},
        {interfaceKey + "\\ProxyStubClsid32", "", "{00020424-0000-0000-C000-000000000046}"},
        {interfaceKey + "\\TypeLib", "", guidText(kLibId)},
        {interfaceKey + "\\TypeLib", "Version", "1.0"},
        {typeLibKey, "", "Quillmere"},
        {typeLibKey + "\\0\\win32", "", library},
        {typeLibKey + "\\FLAGS", "", "0"},
    };
}

template <typename Action>
HRESULT guarded(Action action) {
    try {
        action();
        return kOk;
    } catch (const platform::PlatformError& error) {
        return static_cast<HRESULT>(error.code());
    } catch (...) {
        return kFail;
    }
}

}  // namespace

namespace quillmere::com {
bool operator==(const Guid& a, const Guid& b) {
    return std::memcmp(&a, &b, sizeof(Guid)) == 0;
}
}  // namespace quillmere::com

extern "C" {

HRESULT DllRegisterServer() {
    return guarded([] {
        const auto root = platform::MachineRoot::resolve();
        root.createIfMissing();
        platform::Registry registry(root);
        for (const RegistrationEntry& entry : registrationEntries()) {
            registry.createKey(platform::Hive::LocalMachine, entry.key);
            registry.setValue(platform::Hive::LocalMachine, entry.key,
                              platform::RegistryValue::string(entry.name, entry.data));
        }
    });
}

HRESULT DllUnregisterServer() {
    return guarded([] {
        platform::Registry registry(platform::MachineRoot::resolve());
        const std::string classes = kClassesKey;
        const auto hive = platform::Hive::LocalMachine;
        registry.deleteKey(hive, classes + "\\CLSID\\" + guidText(kClsidClient20));
        registry.deleteKey(hive, classes + "\\" + kProgId);
        registry.deleteKey(hive, classes + "\\Interface\\" + guidText(kIidClient20));
        registry.deleteKey(hive, classes + "\\TypeLib\\" + guidText(kLibId));
    });
}

HRESULT DllGetClassObject(const Guid* clsid, const Guid* iid, void** object) {
    if (!clsid || !iid || !object) return kPointer;
    *object = nullptr;
    if (!(*clsid == kClsidClient20)) return kClassNotAvailable;
    return gFactory.QueryInterface(*iid, object);
}

HRESULT DllCanUnloadNow() {
    return gLiveObjects == 0 && gServerLocks == 0 ? kOk : kFalse;
}

// A length-prefixed copy of the text, terminated by a NUL for convenience.
Bstr QmSysAllocString(const char* text, uint32_t length) {
    auto* block = static_cast<char*>(std::malloc(sizeof(uint32_t) + length + 1));
    if (!block) return nullptr;
    std::memcpy(block, &length, sizeof(uint32_t));
    char* data = block + sizeof(uint32_t);
    if (length) std::memcpy(data, text, length);
    data[length] = '\0';
    return data;
}

void QmSysFreeString(Bstr text) {
    if (text) std::free(text - sizeof(uint32_t));
}

uint32_t QmSysStringLen(Bstr text) {
    if (!text) return 0;
    uint32_t length = 0;
    std::memcpy(&length, text - sizeof(uint32_t), sizeof(uint32_t));
    return length;
}

void QmVariantClear(ComVariant* value) {
    if (!value) return;
    if (value->vt == kVtBstr) QmSysFreeString(value->bstrVal);
    *value = ComVariant{};
}

}  // extern "C"
