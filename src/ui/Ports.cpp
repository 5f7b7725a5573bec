#include "ui/Ports.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace ui {

void FilePort::flush(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        const std::error_code ec(errno, std::generic_category());
        if (fd >= 0) ::close(fd);
        throw std::runtime_error(ec.message());
    }
    ::close(fd);
}

}  // namespace ui
