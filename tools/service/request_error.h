#pragma once
// A request that the caller can fix (or that the service's own files refuse), with the HTTP
// status it is answered with and a message for a person. Thrown by the services' work and
// turned into the answer at the route.
#include <string>

namespace taviro::service {

struct RequestError {
    int status;
    std::string message;
};

}  // namespace taviro::service
