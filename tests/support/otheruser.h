#pragma once

// Running a piece of a test as another user, for the cases where who owns a file matters: the
// tests run as root in CI, and root is stopped by no permission.
#include <functional>

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zf::test {

// "nobody" and "nogroup" on Debian.
inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNogroup = 65534;

inline bool runningAsRoot()
{
    return ::geteuid() == 0;
}

// Runs `act` in a forked child as user `uid` with group `gid` and, when given, the one
// supplementary group `member` (a user of a shared folder's group); answers `act`'s result.
// Only root can do this: the caller skips otherwise.
inline bool asUser(uid_t uid, gid_t gid, gid_t member, const std::function<bool()>& act)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {member};
        const bool dropped = ::setgroups(member ? 1 : 0, groups) == 0 &&
                             ::setresgid(gid, gid, gid) == 0 && ::setresuid(uid, uid, uid) == 0;
        ::_exit(dropped && act() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace zf::test
