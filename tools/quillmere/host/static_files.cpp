#include "tools/quillmere/host/static_files.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace quillmere::host {

namespace fs = std::filesystem;

namespace {

// Splits the path into its segments; false when a segment could lead out of the folder.
bool safeSegments(std::string_view path, std::vector<std::string>& segments) {
    if (path.empty() || path.front() != '/') return false;
    if (path.find('\0') != std::string_view::npos || path.find('\\') != std::string_view::npos)
        return false;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view segment = path.substr(start, end - start);
        if (segment == "." || segment == "..") return false;
        // An empty segment ("//etc/passwd") would turn the rest into an absolute path.
        if (segment.empty() && end != path.size()) return false;
        if (!segment.empty()) segments.emplace_back(segment);
        start = end + 1;
    }
    return true;
}

bool inside(const fs::path& folder, const fs::path& file) {
    std::error_code ec;
    const fs::path base = fs::weakly_canonical(folder, ec);
    if (ec) return false;
    const fs::path real = fs::weakly_canonical(file, ec);
    if (ec) return false;
    const auto [stop, unused] = std::mismatch(base.begin(), base.end(), real.begin(), real.end());
    return stop == base.end();
}

}  // namespace

std::variant<fs::path, StaticRefusal> resolveStaticFile(const fs::path& folder,
                                                        std::string_view requestPath) {
    std::vector<std::string> segments;
    if (!safeSegments(requestPath, segments)) return StaticRefusal::Forbidden;
    fs::path file = folder;
    for (const std::string& segment : segments) file /= segment;
    std::error_code ec;
    if (fs::is_directory(file, ec)) file /= "index.html";
    if (!inside(folder, file)) return StaticRefusal::Forbidden;
    if (!fs::is_regular_file(file, ec)) return StaticRefusal::NotFound;
    return file;
}

std::string contentTypeOf(const fs::path& file) {
    static const std::pair<const char*, const char*> kTypes[] = {
        {".html", "text/html; charset=utf-8"},
        {".htm", "text/html; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".js", "text/javascript; charset=utf-8"},
        {".mjs", "text/javascript; charset=utf-8"},
        {".json", "application/json"},
        {".xml", "application/xml"},
        {".svg", "image/svg+xml"},
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".gif", "image/gif"},
        {".ico", "image/x-icon"},
        {".woff2", "font/woff2"},
        {".txt", "text/plain; charset=utf-8"},
    };
    const std::string extension = file.extension().string();
    for (const auto& [suffix, type] : kTypes)
        if (platform::equalsIgnoreCase(extension, suffix)) return type;
    return "application/octet-stream";
}

}  // namespace quillmere::host
