// Saving .reg text to a file or a file descriptor. A file is replaced only once its new text
// is whole on the disk: written to a temporary file in the same folder, flushed with fsync,
// then renamed over the old one (a rename within one file system is atomic), so a full disk,
// a read-only folder or a crash midway leaves the previous file as it was.
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <streambuf>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/sim/host_file.h"
#include "platform/sim/reg_file.h"

namespace sim {

namespace {

// A stream buffer over a file descriptor that remembers the first error of write(2).
class FdBuffer : public std::streambuf {
  public:
    explicit FdBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }
    FdBuffer(const FdBuffer&) = delete;
    FdBuffer& operator=(const FdBuffer&) = delete;

    int Error() const { return error_; }

  protected:
    int_type overflow(int_type c) override {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return Drain() ? 0 : -1; }

  private:
    bool Drain() {
        const char* p = pbase();
        while (error_ == 0 && p < pptr()) {
            const ssize_t wrote = ::write(fd_, p, static_cast<std::size_t>(pptr() - p));
            if (wrote < 0 && errno != EINTR)
                error_ = errno;
            if (wrote > 0)
                p += wrote;
        }
        setp(buffer_, buffer_ + sizeof buffer_);
        return error_ == 0;
    }

    int fd_;
    int error_ = 0;
    char buffer_[1 << 16];
};

std::string Reason(int problem) {
    return ErrnoWords(problem);
}

// Writes to `fd`; on failure `error` says why (the system's words when writing failed).
bool WriteToFd(const Registry& registry, int fd, RegEncoding encoding, std::string* error) {
    FdBuffer buffer(fd);
    std::ostream out(&buffer);
    if (WriteRegText(registry, out, encoding, error))
        return true;
    if (buffer.Error() != 0)
        *error = Reason(buffer.Error());
    return false;
}

// The mode a new file gets from the umask, or the mode of the file being replaced.
mode_t ModeFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The folder that holds `path`, to make the rename itself durable.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool SaveRegText(const Registry& registry, std::string* text, std::string* error,
                 RegEncoding encoding) {
    std::ostringstream out;
    if (!WriteRegText(registry, out, encoding, error))
        return false;
    *text = std::move(out).str();
    return true;
}

bool WriteRegFd(const Registry& registry, int fd, RegEncoding encoding, std::string* error) {
    std::string scratch;
    return WriteToFd(registry, fd, encoding, error != nullptr ? error : &scratch);
}

bool SaveRegFile(const Registry& registry, const std::string& path, RegEncoding encoding,
                 std::string* error) {
    std::string scratch;
    std::string* err = error != nullptr ? error : &scratch;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        *err = Reason(EISDIR);
        return false;
    }
    std::string temporary = path + ".saving-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        *err = Reason(errno);
        return false;
    }
    bool ok = WriteToFd(registry, fd, encoding, err);
    int problem = 0;
    if (ok && ::fchmod(fd, ModeFor(path)) != 0)
        problem = errno;
    if (ok && problem == 0 && ::fsync(fd) != 0)
        problem = errno;
    if (::close(fd) != 0 && ok && problem == 0)
        problem = errno;
    if (ok && problem == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        problem = errno;
    if (problem != 0) {
        *err = Reason(problem);
        ok = false;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder); // best effort: the new file is already in place
        ::close(folder);
    }
    return true;
}

} // namespace sim
