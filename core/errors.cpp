#include "core/errors.h"

#include <cerrno>
#include <cstring>

#include "core/text.h"

namespace {

std::string Reason(int err) {
  switch (err) {
    case ENOENT: return Gbk("系统找不到指定的路径");
    case EACCES:
    case EPERM: return Gbk("拒绝访问");
    case EISDIR: return Gbk("这是一个文件夹");
    case ENOTDIR: return Gbk("路径中有一段不是文件夹");
    case ENOSPC: return Gbk("磁盘空间不足");
    case EROFS: return Gbk("磁盘是只读的");
    case ENAMETOOLONG: return Gbk("文件名太长");
    case EIO: return Gbk("读写设备出错");
    default: return Utf8ToGbk(std::strerror(err));
  }
}

}  // namespace

std::string FileErrorMessage(const std::string& gbkAction, const std::string& path, int err) {
  return gbkAction + Gbk("“") + Utf8ToGbk(path) + Gbk("”：") + Reason(err);
}

std::string ErrorDisplayText(const std::string& gbkMessage) {
  if (gbkMessage.empty()) return gbkMessage;
  unsigned char last = static_cast<unsigned char>(gbkMessage[LastGbkCharStart(gbkMessage)]);
  return last > '.' ? gbkMessage + "." : gbkMessage;
}
