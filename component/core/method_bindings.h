#pragma once
// How the methods of Client20 reach their logic: each subsystem binds the methods it
// implements into the handler table; a slot left empty answers "not implemented".
#include <memory>
#include <string_view>

#include "component/core/client20.h"

namespace quillmere {

// Puts `handler` into the slot of the method named exactly `name` (throws for an unknown name,
// so a misspelt binding fails at once).
void Bind(MethodHandlers& handlers, std::string_view name, MethodHandler handler);

void BindCoreMethods(MethodHandlers& handlers);        // component/core
void BindStoreMethods(MethodHandlers& handlers);       // component/store
void BindViewMethods(MethodHandlers& handlers);        // component/views
void BindFormMethods(MethodHandlers& handlers);        // component/forms
void BindErrorMethods(MethodHandlers& handlers);       // component/errors
void BindMasterDataMethods(MethodHandlers& handlers);  // component/masterdata
void BindStartupMethods(MethodHandlers& handlers);     // component/startup

// The component's complete table (every subsystem bound).
const MethodHandlers& ComponentMethodHandlers();

// A Client20 wired to the component's methods. The clock must outlive the object; programs
// use the system clock (which honours TAVIRO_NOW), tests a fixed one.
std::unique_ptr<Client20> CreateClient20(platform::MachineRoot root,
                                         platform::MessageSink& messages,
                                         const platform::Clock& clock = platform::systemClock());

}  // namespace quillmere
