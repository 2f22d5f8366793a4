#pragma once
// A document as it would come back from its own serialization: whitespace-only text dropped,
// line ends in text as LF, TAB / CR / LF in attribute values as blanks (what loading does to the
// bytes that saving writes). A program that keeps a saved document instead of loading the file
// again brings it into this form, so that what it works on next is what a load would give.
#include "platform/xml/document.h"

namespace platform::xml {

void bringIntoReloadedForm(Node top);

}  // namespace platform::xml
