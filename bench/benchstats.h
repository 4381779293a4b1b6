#pragma once

// What the benchmarks measure with: the median of runs, and the memory of
// a process and of the processes it started (the browser's).

#include <algorithm>
#include <vector>

#include <QDir>
#include <QFile>
#include <QList>
#include <QMultiMap>

inline double median(std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

// Proportional set size of a process, in MiB.
inline double pssMiB(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Pss:")) {
            return line.mid(4).trimmed().split(' ').value(0).toDouble() / 1024;
        }
    }
    return 0;
}

// Every process below this one (the browser's zygote, renderers, GPU).
inline QList<qint64> descendants(qint64 root)
{
    QMultiMap<qint64, qint64> children;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!number || !stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        children.insert(fields.value(1).toLongLong(), pid);
    }
    QList<qint64> found;
    QList<qint64> pending{root};
    while (!pending.isEmpty()) {
        for (qint64 child : children.values(pending.takeFirst())) {
            found << child;
            pending << child;
        }
    }
    return found;
}
