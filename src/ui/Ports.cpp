#include "ui/Ports.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "store/Database.h"

namespace ui {

namespace {

// Opens the path for reading and writes it through to the disk.
void sync(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0 || ::fsync(fd) != 0) {
        const std::error_code ec(errno, std::generic_category());
        if (fd >= 0) ::close(fd);
        throw ErroreDiSistema(ec);
    }
    ::close(fd);
}

}  // namespace

FileError ErroreDiSistema(const std::error_code& ec) {
    if (ec.value() == EDQUOT) return DiscoPieno();
    switch (static_cast<std::errc>(ec.value())) {
        case std::errc::no_space_on_device:
            return DiscoPieno();
        case std::errc::file_too_large:
            return {kErrDiskFull, "File troppo grande per il disco"};
        case std::errc::no_such_file_or_directory:
            return {kErrFileNotFound, "File o cartella non trovati"};
        case std::errc::permission_denied:
        case std::errc::operation_not_permitted:
            return {kErrPermission, "Permesso negato"};
        case std::errc::read_only_file_system:
            return {kErrPermission, "Disco protetto da scrittura"};
        case std::errc::no_such_device:
        case std::errc::no_such_device_or_address:
            return {kErrDiskNotReady, "Disco non pronto"};
        case std::errc::device_or_resource_busy:
        case std::errc::text_file_busy:
            return {kErrPathAccess, "File in uso"};
        case std::errc::file_exists:
        case std::errc::is_a_directory:
        case std::errc::not_a_directory:
        case std::errc::filename_too_long:
        case std::errc::cross_device_link:
            return {kErrPathAccess, "Errore di accesso al percorso o al file"};
        default:
            return {kErrIO, "Errore di input/output"};
    }
}

FileError DiscoPieno() {
    return {kErrDiskFull, "Spazio su disco insufficiente"};
}

void FilePort::copyArchive(const std::string& from, const std::string& to) {
    store::Database::open(from).copyTo(to);
}

void FilePort::flush(const std::string& path) {
    sync(path, 0);
}

void FilePort::flushFolder(const std::string& folder) {
    sync(folder, O_DIRECTORY);
}

bool FilePort::hasRoom(const std::string& folder, std::uintmax_t bytes) {
    std::error_code ec;
    const std::filesystem::space_info space = std::filesystem::space(folder, ec);
    return !ec && space.available >= bytes;
}

}  // namespace ui
