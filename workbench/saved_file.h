#pragma once
// Files the workbench writes, whole or not at all, and the message a file that cannot be written
// is reported with in the window, the session and the tool.

#include <optional>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QImage>

namespace vesk {

// "Cannot create file NAME: REASON.", the name as ShownFileName shows it.
std::string CannotCreateFileMessage(const std::string& path, const std::string& reason);

// Writes bytes to path whole (see WriteFileAtomically): nothing when written, else the message
// above with the system's reason.
std::optional<std::string> SaveFile(const std::string& path, std::string_view bytes);

// Writes a document drawn in memory (an SVG) as SaveFile does; an empty one is a drawing that
// could not be made, reported with the message and nothing written.
std::optional<std::string> SaveDrawingFile(const std::string& path, const QByteArray& document);

// Encodes the image in memory in the format Qt names ("BMP", "PNG") and writes it as SaveFile
// does, so the file is never left half-written; the message also when it cannot be encoded.
std::optional<std::string> SaveImageFile(const std::string& path, const QImage& image,
                                         const char* format);

} // namespace vesk
