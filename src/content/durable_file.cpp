#include "content/durable_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
std::string folderOf(const std::string& file) { return file.substr(0, file.find_last_of("/\\")); }

// The temporary file's contents reach the disk; an errno value, 0 on success.
int writeAndFlush(const std::string& temporary, const std::string& text) {
    std::FILE* stream = std::fopen(temporary.c_str(), "wb");
    if (!stream) return errno;
    bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
    int error = written ? 0 : (errno ? errno : EIO);
#ifdef _WIN32
    if (!error && _commit(_fileno(stream)) != 0) error = errno;
#else
    if (!error && ::fsync(fileno(stream)) != 0) error = errno;
#endif
    if (std::fclose(stream) != 0 && !error) error = errno;
    return error;
}
}  // namespace

std::string moveFileOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return "";
    return "could not replace the file (Windows error " + std::to_string(GetLastError()) + ")";
#else
    if (std::rename(from.c_str(), to.c_str()) != 0) return std::strerror(errno);
    // The rename itself is made durable by flushing the folder.
    int folder = ::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return "";
#endif
}

std::string replaceFileDurably(const std::string& file, const std::string& text) {
    std::error_code ignored;
    std::filesystem::create_directories(folderOf(file), ignored);
    std::string temporary = file + ".tmp";
    std::string error;
    if (int code = writeAndFlush(temporary, text)) error = std::strerror(code);
    if (error.empty()) error = moveFileOver(temporary, file);
    if (!error.empty()) std::remove(temporary.c_str());
    return error;
}
