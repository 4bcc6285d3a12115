// Where GBK text meets the window: the only conversions the app layer uses.
#pragma once

#include <QString>
#include <string>

#include "core/text.h"

// GBK bytes as a QString; CR LF and lone CR become line breaks.
inline QString ToQ(const std::string& gbk) {
  std::string utf8 = GbkToUtf8(ReplaceAll(ReplaceAll(gbk, "\r\n", "\n"), "\r", "\n"));
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
// A QString typed into the window, as GBK bytes.
inline std::string FromQ(const QString& text) { return Utf8ToGbk(text.toUtf8().toStdString()); }
// A file path from the window as the operating system's own bytes (UTF-8).
inline std::string PathFromQ(const QString& path) { return path.toUtf8().toStdString(); }
inline QString QFromPath(const std::string& path) { return QString::fromUtf8(path.c_str()); }
