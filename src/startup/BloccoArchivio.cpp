#include "startup/BloccoArchivio.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "ui/Ports.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace startup {

namespace {

// What the file says of its holder; nobody relies on it.
std::string Titolare() {
#ifdef _WIN32
    char host[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof host;
    GetComputerNameA(host, &size);
    const unsigned long pid = GetCurrentProcessId();
#else
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const long pid = static_cast<long>(getpid());
#endif
    return "pid=" + std::to_string(pid) + "\r\nhost=" + host + "\r\n";
}

}  // namespace

#ifdef _WIN32

struct BloccoArchivio::Handle {
    HANDLE file = INVALID_HANDLE_VALUE;
};

namespace {

// The locked byte lies beyond the text, which other programs may still read.
constexpr DWORD kByteBloccato = 0x7FFFFFFF;

OVERLAPPED Posizione() {
    OVERLAPPED ov{};
    ov.Offset = kByteBloccato;
    return ov;
}

}  // namespace

std::unique_ptr<BloccoArchivio> BloccoArchivio::Prendi(const std::string& path) {
    const std::filesystem::path nome(std::u8string(path.begin(), path.end()));
    auto handle = std::make_unique<Handle>();
    handle->file = CreateFileW(nome.c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle->file == INVALID_HANDLE_VALUE) {
        throw ui::FileError(ui::kErrPathAccess, "Impossibile creare il file di blocco");
    }
    OVERLAPPED ov = Posizione();
    if (!LockFileEx(handle->file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &ov)) {
        CloseHandle(handle->file);
        return nullptr;
    }
    const std::string testo = Titolare();
    DWORD scritti = 0;
    SetEndOfFile(handle->file);
    WriteFile(handle->file, testo.data(), static_cast<DWORD>(testo.size()), &scritti, nullptr);
    return std::unique_ptr<BloccoArchivio>(new BloccoArchivio(path, std::move(handle)));
}

BloccoArchivio::~BloccoArchivio() {
    // The file stays: it cannot go while another program may hold it open.
    OVERLAPPED ov = Posizione();
    UnlockFileEx(handle_->file, 0, 1, 0, &ov);
    CloseHandle(handle_->file);
}

#else

struct BloccoArchivio::Handle {
    int fd = -1;
};

namespace {

// A lock of the open file itself (not of the process), so that two holders in one process
// exclude each other as two programs do; it works on network folders too.
int Blocca(int fd) {
#ifdef F_OFD_SETLK
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0 ? 0 : errno;
#else
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
#endif
}

bool StessoFile(int fd, const std::string& path) {
    struct stat aperto {};
    struct stat nome {};
    return ::fstat(fd, &aperto) == 0 && ::stat(path.c_str(), &nome) == 0 &&
           aperto.st_dev == nome.st_dev && aperto.st_ino == nome.st_ino;
}

}  // namespace

std::unique_ptr<BloccoArchivio> BloccoArchivio::Prendi(const std::string& path) {
    for (;;) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) throw ui::ErroreDiSistema({errno, std::generic_category()});
        const int err = Blocca(fd);
        if (err == EAGAIN || err == EACCES || err == EWOULDBLOCK) {
            ::close(fd);
            return nullptr;
        }
        if (err != 0) {
            ::close(fd);
            throw ui::ErroreDiSistema({err, std::generic_category()});
        }
        // The holder before may have removed the file between our open and our lock; the lock
        // would then guard a file nobody else sees. Try again with the file there now.
        if (!StessoFile(fd, path)) {
            ::close(fd);
            continue;
        }
        const std::string testo = Titolare();
        if (::ftruncate(fd, 0) != 0 ||
            ::pwrite(fd, testo.data(), testo.size(), 0) != static_cast<ssize_t>(testo.size())) {
            // The text is information only; the lock holds without it.
        }
        auto handle = std::make_unique<Handle>();
        handle->fd = fd;
        return std::unique_ptr<BloccoArchivio>(new BloccoArchivio(path, std::move(handle)));
    }
}

BloccoArchivio::~BloccoArchivio() {
    // Removed while still held, so that nobody takes a lock on a file about to go.
    ::unlink(path_.c_str());
    ::close(handle_->fd);
}

#endif

BloccoArchivio::BloccoArchivio(std::string path, std::unique_ptr<Handle> handle)
    : path_(std::move(path)), handle_(std::move(handle)) {}

}  // namespace startup
