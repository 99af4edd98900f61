#pragma once

// A full disk without a disk to fill: the work runs in a child process
// where the kernel answers every write to a file with ENOSPC, as it does
// when the disk is full. Nothing is mounted and no privilege is needed.

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <cstddef>
#include <functional>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <optional>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test {

// The text the work returned (its error message), read back through a
// pipe; nothing when the system does not let the filter be installed.
// A child that dies gives a text that no message equals.
inline std::optional<QString> onAFullDisk(const std::function<QString()>& work)
{
    // The answer goes through a descriptor that the filter leaves alone.
    constexpr int kAnswerFd = 987;
    int fds[2];
    if (pipe(fds) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (dup2(fds[1], kAnswerFd) < 0)
            _exit(2);
        close(fds[1]);
        sock_filter filter[] = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_write, 4, 0),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_pwrite64, 3, 0),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_writev, 2, 0),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_pwritev, 1, 0),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
            // Standard output, error and the answer still work.
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[0])),
            BPF_JUMP(BPF_JMP | BPF_JGT | BPF_K, 2, 0, 2),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kAnswerFd, 1, 0),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOSPC & SECCOMP_RET_DATA)),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        };
        sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
        if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
            prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
            _exit(3);
        const QByteArray answer = work().toUtf8();
        const ssize_t written = ::write(kAnswerFd, answer.constData(), size_t(answer.size()));
        _exit(written == ssize_t(answer.size()) ? 0 : 2);
    }
    close(fds[1]);
    QByteArray answer;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0)
        answer.append(buffer, qsizetype(got));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<the work did not end normally>");
    return QString::fromUtf8(answer);
}

} // namespace test
