#pragma once
// The application's own files. A request path names a file inside the application folder and
// nothing outside it: ".." segments, backslashes, NUL and absolute forms are refused before the
// file system is asked, and the resolved file must still lie inside the folder (a symbolic link
// out of it does not count).
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace quillmere::host {

enum class StaticRefusal { Forbidden, NotFound };

// The file a (decoded) request path names: "/" and folder paths give their index.html.
std::variant<std::filesystem::path, StaticRefusal> resolveStaticFile(
    const std::filesystem::path& folder, std::string_view requestPath);

// The content type a browser needs for the file (text/javascript for ES modules).
std::string contentTypeOf(const std::filesystem::path& file);

}  // namespace quillmere::host
