#include "runtime/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

namespace vesk {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

// An open descriptor, closed with the object unless Close() was called.
class TDescriptor {
public:
    explicit TDescriptor(int fd) : FFd(fd) {}
    ~TDescriptor() {
        if (FFd >= 0) ::close(FFd);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return FFd; }
    // Closes it now: 0, or the error the close reported (a network file system's full disk
    // shows up only here). Never retried: the descriptor is gone either way.
    int Close() {
        const int fd = FFd;
        FFd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int FFd;
};

// Writes all the bytes, resuming after a signal or a short write: 0, or the error.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC; // no progress and no error: nothing more will fit
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// The file-creation mask, read where the kernel shows it so that no other thread sees it
// changed; where it is not shown, set and restored.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A device, a FIFO or the like: written where it is, as any program writes it.
std::optional<std::string> WriteInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Reason(errno);
    TDescriptor file(fd);
    if (const int error = WriteAll(fd, bytes)) return Reason(error);
    if (const int error = file.Close()) return Reason(error);
    return std::nullopt;
}

// Makes the rename itself last through a crash where the system allows; a directory that
// cannot be synced does not undo a file that was written.
void SyncDirectory(const std::string& directory) {
    const int fd =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The temporary beside the target: hidden, named after it (cut so the name stays within the
// file systems' 255-byte limit) and made unique by mkstemp.
std::string TemporaryName(const std::string& directory, const std::string& name) {
    return directory + "." + name.substr(0, 200) + ".XXXXXX";
}

// The temporaries being written, for a signal handler to remove: fixed slots of atomic pointers,
// which a handler may read.
constexpr int TemporarySlots = 8;
std::atomic<const char*> Temporaries[TemporarySlots];
static_assert(std::atomic<const char*>::is_always_lock_free);

extern "C" void RemoveTemporariesAndEnd(int signal) {
    for (std::atomic<const char*>& slot : Temporaries)
        if (const char* path = slot.load()) ::unlink(path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

TRemovedOnSignal::TRemovedOnSignal(const std::string& path) {
    for (int k = 0; k < TemporarySlots && FSlot < 0; ++k) {
        const char* none = nullptr;
        if (Temporaries[k].compare_exchange_strong(none, path.c_str())) FSlot = k;
    }
}

TRemovedOnSignal::~TRemovedOnSignal() {
    if (FSlot >= 0) Temporaries[FSlot].store(nullptr);
}

void RemoveTemporariesOnSignal() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0) continue;
        if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
        struct sigaction remove {};
        remove.sa_handler = RemoveTemporariesAndEnd;
        sigemptyset(&remove.sa_mask);
        remove.sa_flags = SA_RESTART;
        ::sigaction(signal, &remove, nullptr);
    }
}

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes) {
    // A NUL byte would cut the name short and write another file than the one named.
    if (path.find('\0') != std::string::npos) return Reason(EINVAL);
    if (path.empty()) return Reason(ENOENT);

    std::string target = path;
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) return Reason(errno); // no directory, too long, no access
    if (!exists) {
        // A link to a file not yet made: the file is made where the link leads, as a shell's
        // redirection makes it, and the link kept.
        char leads[4096];
        const ssize_t length = ::readlink(path.c_str(), leads, sizeof leads);
        if (length > 0 && static_cast<std::size_t>(length) < sizeof leads) {
            const std::string link(leads, static_cast<std::size_t>(length));
            const std::size_t slash = path.rfind('/');
            target = link.front() == '/' || slash == std::string::npos
                         ? link
                         : path.substr(0, slash + 1) + link;
        }
    }
    if (exists && !S_ISREG(existing.st_mode)) return WriteInPlace(path, bytes);
    if (exists) {
        // Through a link the file it leads to is replaced and the link kept.
        struct stat link {};
        if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            const std::unique_ptr<char, decltype(&std::free)> real(
                ::realpath(path.c_str(), nullptr), &std::free);
            if (!real) return Reason(errno);
            target = real.get();
        }
        // Replacing needs only the directory's permission; a file that may not be written
        // stays refused, as opening it would be.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return Reason(errno);
    }

    const std::size_t slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) return Reason(EISDIR);
    std::string temporary = TemporaryName(directory, name);
    // Registered before it exists, so that no moment leaves it unregistered.
    const TRemovedOnSignal removedOnSignal(temporary);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return Reason(errno);
    TDescriptor file(fd);
    const auto fail = [&temporary](int error) -> std::optional<std::string> {
        ::unlink(temporary.c_str());
        return Reason(error);
    };

    // mkstemp makes the file private (0600); it gets the mode a plain creation would have given
    // it, or the replaced file's mode and, where the system lets it, the replaced file's owner.
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        // Not allowed to give it away: the file is the writer's own, as a new one would be.
    }
    const mode_t mode = exists ? existing.st_mode & 07777 : 0666 & ~CurrentUmask();
    if (::fchmod(fd, mode) != 0) return fail(errno);
    if (const int error = WriteAll(fd, bytes)) return fail(error);
    if (::fsync(fd) != 0) return fail(errno);
    struct stat written {};
    if (::fstat(fd, &written) != 0) return fail(errno);
    if (static_cast<std::uint64_t>(written.st_size) != bytes.size()) return fail(EIO);
    if (const int error = file.Close()) return fail(error);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
    SyncDirectory(directory);
    return std::nullopt;
}

void IgnoreFileSizeSignal() {
    struct sigaction current {};
    if (::sigaction(SIGXFSZ, nullptr, &current) != 0) return;
    if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

} // namespace vesk
