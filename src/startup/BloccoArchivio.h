#pragma once
// The lock that keeps one program on a data folder: a lock file beside the archive, held with a
// lock of the operating system that dies with the process, so that a program killed or crashed
// never blocks the next start. The file names its holder (process and computer) only for
// whoever looks at it.
#include <memory>
#include <string>

namespace startup {

class BloccoArchivio {
public:
    // Takes the lock of the file at `path`, making the file when it is missing. nullptr when
    // another holder, in this process or another, has it; throws ui::FileError when the file
    // cannot be made or locked.
    static std::unique_ptr<BloccoArchivio> Prendi(const std::string& path);

    // Removes the file, then lets the lock go.
    ~BloccoArchivio();
    BloccoArchivio(const BloccoArchivio&) = delete;
    BloccoArchivio& operator=(const BloccoArchivio&) = delete;

private:
    struct Handle;
    BloccoArchivio(std::string path, std::unique_ptr<Handle> handle);

    std::string path_;
    std::unique_ptr<Handle> handle_;
};

}  // namespace startup
