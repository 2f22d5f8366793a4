// The methods of Client20 implemented in this folder.
#include "component/core/method_bindings.h"
#include "component/masterdata/explode_zip.h"
#include "component/masterdata/local_database.h"
#include "component/masterdata/masterdata_listing.h"
#include "component/masterdata/masterdata_update.h"
#include "component/masterdata/zoom_lookup.h"

namespace quillmere {

void BindMasterDataMethods(MethodHandlers& h) {
    using Args = std::vector<Variant>;
    Bind(h, "OpenDataBase", [](Session& s, Args&) { return OpenDataBase(s); });
    Bind(h, "CloseDataBase", [](Session& s, Args&) { return CloseDataBase(s); });
    Bind(h, "SetCurrentmdb", [](Session& s, Args& a) { return SetCurrentmdb(s, a[0].asText()); });
    Bind(h, "SetODBCDataBase",
         [](Session& s, Args& a) { return SetODBCDataBase(s, a[0].asText()); });
    Bind(h, "MasterData",
         [](Session& s, Args& a) { return Variant::text(MasterData(s, a[0].asText())); });
    Bind(h, "ExplodeZip", [](Session& s, Args& a) { return ExplodeZip(s, a[0].asText()); });
    Bind(h, "HyperLinkAndZoom", [](Session& s, Args& a) {
        return Variant::text(
            HyperLinkAndZoom(s, a[0].asInt16(), a[1].asText(), a[2].asText(), a[3].asText()));
    });
    Bind(h, "Synchronize_MasterData", [](Session& s, Args& a) {
        return Variant::text(Synchronize_MasterData(s, a[0].textRef()));
    });
}

}  // namespace quillmere
