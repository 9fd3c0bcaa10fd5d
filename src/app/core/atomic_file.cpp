#include "app/core/atomic_file.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace tunevox::app {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    // QFile refuses a directory here, which a plain stream would "open".
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        bytes.append(chunk, static_cast<size_t>(n));
    }
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error) {
    auto fail = [&](const QString& reason) {
        if (error) *error = reason.toStdString();
        return false;
    };
    // No direct-write fallback: in a folder where no temporary file can be
    // made, overwriting in place could leave half a file behind.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    const auto size = static_cast<qint64>(bytes.size());
    if (size > 0 && file.write(bytes.data(), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    // commit() flushes, syncs to disk and renames over the target; on any
    // failure the temporary file is removed and the target left as it was.
    if (!file.commit()) return fail(file.errorString());
    return true;
}

} // namespace tunevox::app
