#pragma once

#include <QFile>
#include <QString>

#include <sys/inotify.h>
#include <unistd.h>

namespace zf::test {

// How many entries the kernel saw created in `folder` while `action` ran; -1 when it cannot
// watch the folder.
template <typename F> int entriesCreatedIn(const QString& folder, F action)
{
    const int fd = inotify_init1(IN_NONBLOCK);
    if (fd < 0)
        return -1;
    if (inotify_add_watch(fd, QFile::encodeName(folder).constData(), IN_CREATE) < 0) {
        close(fd);
        return -1;
    }
    action();
    int created = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        for (const char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            created += (event->mask & IN_CREATE) ? 1 : 0;
            p += sizeof(inotify_event) + event->len;
        }
    close(fd);
    return created;
}

} // namespace zf::test
