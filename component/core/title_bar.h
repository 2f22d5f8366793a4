#pragma once
// The title row of a panel, which every list, form and look-up starts with: the title and the
// buttons that call the page's minimize and winclose for the panel.
//
// Failures: none.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmere {

// Mode 1 with minimize and close buttons, any other mode close only. `title` is markup (label
// texts go in as they are).
std::string BuildTitleBar(int16_t mode, std::string_view title, std::string_view panelId);

}  // namespace quillmere
