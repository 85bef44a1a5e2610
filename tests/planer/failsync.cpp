// A disk that refuses to confirm names: loaded with LD_PRELOAD, fsync of a folder and syncfs
// answer EIO, as a failing disk or a share whose server went away does. Files sync as usual.
#include <cerrno>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" int fsync(int fd)
{
    struct stat info
    {
    };
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int syncfs(int)
{
    errno = EIO;
    return -1;
}
