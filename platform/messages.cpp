#include "platform/messages.h"

#include <iostream>

namespace platform {

void StandardErrorMessageSink::show(const std::string& title, const std::string& text,
                                    MessageIcon) {
    std::cerr << "MESSAGE " << title << ": " << text << '\n' << std::flush;
}

}  // namespace platform
