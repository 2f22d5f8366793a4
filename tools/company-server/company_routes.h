#pragma once
// The stand-in's HTTP surface, as the engineer's page meets the company's web server:
//
//   GET  /orders?engineer=E                 the engineer's download document
//   POST /upload?name=F[&engineer=E]        an upload; answers the upload report
//   GET  /masterdata/<company>/             the company's change files (JSON array of names)
//   GET  /masterdata/<company>/<file>       one change file
//   GET  /masterdata/package[?center=C]     the master-data database package (a zip)
//
// The page fetches these directly from its own origin, so the answers carry CORS headers for
// the configured origins only; a preflight or a POST from any other origin is refused.
#include <string>
#include <vector>

#include "tools/company-server/core/company_desk.h"
#include "tools/service/local_http_server.h"

namespace company_server {

inline constexpr size_t kMaxUploadBytes = 64 * 1024 * 1024;

// `desk` and `origins` must outlive the server.
void installRoutes(taviro::service::LocalHttpServer& server, CompanyDesk& desk,
                   const std::vector<std::string>& origins);

}  // namespace company_server
