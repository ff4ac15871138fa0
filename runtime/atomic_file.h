#pragma once
// Files written whole or not at all: a full disk, a file-size limit or a device that refuses the
// bytes is reported with the system's reason, and never leaves a cut-off file behind.

#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// Writes bytes to the file named path (a byte string, as the system takes it). A regular file,
// or a name nothing has yet, is written through a temporary file beside it that is synced,
// checked and then renamed over the name: on failure the temporary is removed and a file that
// was there keeps its contents. The new file gets the old one's mode (and, where allowed, its
// owner), or 0666 less the umask. A name that exists and is not a regular file (a device, a
// FIFO, /dev/stdout) cannot be replaced, so it is opened and written directly, every write and
// the close checked. A name through a symbolic link to a file replaces that file and keeps
// the link; a link that leads to no file yet makes the file where it leads.
// Returns nothing when written, else the system's reason ("No space left on device"); a name
// holding a NUL byte is refused ("Invalid argument") before anything is touched.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view bytes);

// While one lives, the named temporary file is removed should SIGINT, SIGTERM or SIGHUP end the
// process (once RemoveTemporariesOnSignal has been called): a write cut short by a signal
// leaves nothing behind. A few at a time, from any thread.
class TRemovedOnSignal {
public:
    explicit TRemovedOnSignal(const std::string& path);
    ~TRemovedOnSignal();
    TRemovedOnSignal(const TRemovedOnSignal&) = delete;
    TRemovedOnSignal& operator=(const TRemovedOnSignal&) = delete;

private:
    int FSlot = -1; // none free: not removed
};

// Makes SIGINT, SIGTERM and SIGHUP, where they still end the process, remove the temporaries
// being written first; they end it as before. A handler someone else installed is left alone.
void RemoveTemporariesOnSignal();

// Makes a write past the file-size limit (ulimit -f) fail with EFBIG, reported like any other
// failed write, instead of killing the process with SIGXFSZ. A handler someone else installed
// is left alone.
void IgnoreFileSizeSignal();

} // namespace vesk
