#include "platform/sim/host_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace sim {

namespace {

// Closes the descriptor however the read ends.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

} // namespace

std::string ErrnoWords(int error) {
    switch (error) {
    case ENOENT:
        return "no such file";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EISDIR:
        return "is a folder";
    case ENOTDIR:
        return "a part of the path is not a folder";
    case EROFS:
        return "read-only file system";
    case ENOSPC:
        return "no space left on the device";
    default: {
        std::string words = std::strerror(error);
        if (!words.empty() && words[0] >= 'A' && words[0] <= 'Z')
            words[0] = static_cast<char>(words[0] - 'A' + 'a');
        return words;
    }
    }
}

bool ReadHostFile(const std::string& path, std::string& bytes, std::string& why) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) {
        why = ErrnoWords(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) == 0 && S_ISDIR(info.st_mode)) {
        why = ErrnoWords(EISDIR);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            why = ErrnoWords(errno);
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string WhyNotWritable(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return ErrnoWords(EISDIR);
        return ::access(path.c_str(), W_OK) == 0 ? std::string() : ErrnoWords(errno);
    }
    if (errno != ENOENT)
        return ErrnoWords(errno);
    // A new file: its folder must exist and take it.
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty())
        folder = ".";
    if (::stat(folder.c_str(), &info) != 0)
        return errno == ENOENT ? "no such folder " + folder : ErrnoWords(errno);
    if (!S_ISDIR(info.st_mode))
        return "not a folder: " + folder;
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return ErrnoWords(errno);
    return {};
}

} // namespace sim
