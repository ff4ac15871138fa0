#include "workbench/saved_file.h"

#include <QBuffer>

#include "runtime/atomic_file.h"
#include "runtime/quoted_text.h"

namespace vesk {

std::string CannotCreateFileMessage(const std::string& path, const std::string& reason) {
    return "Cannot create file " + ShownFileName(path) + ": " + reason + ".";
}

std::optional<std::string> SaveFile(const std::string& path, std::string_view bytes) {
    if (auto reason = WriteFileAtomically(path, bytes))
        return CannotCreateFileMessage(path, *reason);
    return std::nullopt;
}

std::optional<std::string> SaveDrawingFile(const std::string& path, const QByteArray& document) {
    if (document.isEmpty()) return CannotCreateFileMessage(path, "the drawing cannot be made");
    return SaveFile(
        path, std::string_view(document.constData(), static_cast<std::size_t>(document.size())));
}

std::optional<std::string> SaveImageFile(const std::string& path, const QImage& image,
                                         const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format))
        return CannotCreateFileMessage(path, "the image cannot be encoded");
    return SaveFile(path,
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace vesk
