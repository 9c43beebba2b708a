#include "model/FileIo.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace model {

namespace {

QString ToQString(const std::string& path) {
    return QString::fromStdString(path);
}

std::filesystem::path ToFsPath(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

[[noreturn]] void Fail(const char* what, const std::string& path, const QString& reason) {
    throw FileError(std::string(what) + " \"" + path + "\": " + reason.toStdString());
}

}  // namespace

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
    QSaveFile file(ToQString(path));
    if (!file.open(QIODevice::WriteOnly)) Fail("Cannot write", path, file.errorString());
    const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (written != static_cast<qint64>(bytes.size()) || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        Fail("Cannot write", path, reason);
    }
#ifdef Q_OS_UNIX
    // The rename must not reach the disk before the data does.
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        Fail("Cannot write", path, QString::fromLocal8Bit(std::strerror(errno)));
    }
#endif
    if (!file.commit()) Fail("Cannot write", path, file.errorString());
}

std::string ReadWholeFile(const std::string& path) {
    // Opening a named pipe or a device would wait for a writer or never end.
    std::error_code error;
    const auto status = std::filesystem::status(ToFsPath(path), error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        Fail("Cannot read", path, QStringLiteral("it is not a regular file"));
    QFile file(ToQString(path));
    if (!file.open(QIODevice::ReadOnly)) Fail("Cannot read", path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) Fail("Cannot read", path, file.errorString());
    return bytes.toStdString();
}

void CopyFileAtomically(const std::string& from, const std::string& to) {
    WriteFileAtomically(to, ReadWholeFile(from));
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    const auto status = std::filesystem::status(ToFsPath(path), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string FileStamp(const std::string& path) {
    if (path.empty()) return {};
    std::error_code error;
    const std::filesystem::path fsPath = ToFsPath(path);
    const auto size = std::filesystem::file_size(fsPath, error);
    if (error) return {};
    const auto time = std::filesystem::last_write_time(fsPath, error);
    if (error) return {};
    const auto ticks =
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    return std::to_string(size) + ":" + std::to_string(ticks);
}

bool FolderExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code error;
    return std::filesystem::is_directory(ToFsPath(path), error);
}

bool RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(ToFsPath(path), error);
    return !error;
}

}  // namespace model
