#include "support/marc_builder.h"

#include <cstdio>

#include "core/text.h"

std::string Sf(char code, const std::string& value) { return std::string("\x1F") + code + value; }

std::string MakeRecord(const std::vector<TestField>& fields, const std::string& leaderTail) {
  std::string directory, data;
  for (const auto& f : fields) {
    std::string field = f.data + "\x1E";
    char entry[32];
    std::snprintf(entry, sizeof entry, "%.3s%04zu%05zu", f.tag.c_str(), field.size(), data.size());
    directory += entry;
    data += field;
  }
  directory += "\x1E";
  size_t base = 24 + directory.size();
  size_t total = base + data.size() + 1;
  char head[16];
  std::snprintf(head, sizeof head, "%05zu", total);
  std::string tail = leaderTail;
  tail.resize(14, ' ');
  char baseText[8];
  std::snprintf(baseText, sizeof baseText, "%05zu", base);
  std::string leader = std::string(head) + tail.substr(0, 7) + baseText + tail.substr(7, 7);
  return leader + directory + data + "\x1D";
}

std::string MakeBookRecord(const std::string& id, const std::string& isbn, const std::string& titleUtf8,
                           const std::string& authorUtf8) {
  return MakeRecord({
      {"001", id},
      {"005", "20260301120000.0"},
      {"010", "  " + Sf('a', isbn) + Sf('d', Gbk("CNY35.00"))},
      {"100", "  " + Sf('a', "20260301d2026    em y0chiy50      ea")},
      {"101", "0 " + Sf('a', "chi")},
      {"200", "1 " + Sf('a', Gbk(titleUtf8)) + Sf('f', Gbk(authorUtf8))},
      {"210", "  " + Sf('a', Gbk("北京")) + Sf('c', Gbk("人民文学出版社")) + Sf('d', "2026")},
      {"215", "  " + Sf('a', Gbk("256页")) + Sf('d', "21cm")},
      {"690", "  " + Sf('a', "I247.5") + Sf('v', "5")},
      {"701", " 0" + Sf('a', Gbk(authorUtf8)) + Sf('4', Gbk("著"))},
      {"905", "  " + Sf('a', "LIB") + Sf('b', "L0001") + Sf('d', "I247.5") + Sf('e', Gbk("张3"))},
  });
}

std::string BookGenerator::IsbnFor(int64_t n) const {
  // 7-PPPP-TTTT-C: a Chinese-group ISBN-10 with its true check digit,
  // distinct for every n below 50,000,000.
  char digits[16];
  std::snprintf(digits, sizeof digits, "7%04lld%04lld", static_cast<long long>(5000 + n % 5000),
                static_cast<long long>((n / 5000) % 10000));
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += (10 - i) * (digits[i] - '0');
  int check = (11 - sum % 11) % 11;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%c-%.4s-%.4s-%c", digits[0], digits + 1, digits + 5,
                check == 10 ? 'X' : static_cast<char>('0' + check));
  return buf;
}

std::string BookGenerator::Next(int64_t n) {
  static const char* kTitles[] = {"红楼梦", "三国演义", "水浒传", "西游记", "围城", "平凡的世界", "活着",
                                  "边城", "骆驼祥子", "呐喊", "家", "茶馆", "雷雨", "子夜"};
  static const char* kAuthors[] = {"曹雪芹", "罗贯中", "施耐庵", "吴承恩", "钱锺书", "路遥", "余华", "沈从文"};
  std::uniform_int_distribution<int> t(0, 13), a(0, 7), vol(1, 30), pages(100, 900);
  std::string title = std::string(kTitles[t(rng_)]) + "（第" + std::to_string(vol(rng_)) + "卷）";
  char id[32];
  std::snprintf(id, sizeof id, "%012lld", static_cast<long long>(n));
  std::string author = kAuthors[a(rng_)];
  return MakeRecord({
      {"001", id},
      {"005", "20260301120000.0"},
      {"010", "  " + Sf('a', IsbnFor(n)) + Sf('d', Gbk("CNY" + std::to_string(pages(rng_) / 10) + ".00"))},
      {"100", "  " + Sf('a', "20260301d2026    em y0chiy50      ea")},
      {"101", "0 " + Sf('a', "chi")},
      {"102", "  " + Sf('a', "CN") + Sf('b', "110000")},
      {"105", "  " + Sf('a', "y   z   000yy")},
      {"106", "  " + Sf('a', "r")},
      {"200", "1 " + Sf('a', Gbk(title)) + Sf('9', "hong lou meng") + Sf('f', Gbk(author + "著")) +
                  Sf('g', Gbk("某某编辑"))},
      {"210", "  " + Sf('a', Gbk("北京")) + Sf('c', Gbk("人民文学出版社")) + Sf('d', "2026")},
      {"215", "  " + Sf('a', Gbk(std::to_string(pages(rng_)) + "页")) + Sf('c', Gbk("图")) + Sf('d', "21cm")},
      {"225", "2 " + Sf('a', Gbk("中国古典文学读本丛书"))},
      {"300", "  " + Sf('a', Gbk("本书据某某年版本重印，附有注释和插图若干幅，供一般读者阅读参考。"))},
      {"330", "  " + Sf('a', Gbk("本书讲述了一个家族由盛而衰的故事，描写了众多人物的命运，"
                                 "语言优美，结构宏大，是一部具有高度思想性和艺术性的伟大作品。"))},
      {"320", "  " + Sf('a', Gbk("有书目（第二四一至二五六页）及索引，附录收入相关年表、人物关系表和版本源流说明。"))},
      {"517", "1 " + Sf('a', Gbk(title + "校注本")) + Sf('9', "jiao zhu ben")},
      {"606", "0 " + Sf('a', Gbk("章回小说")) + Sf('y', Gbk("中国")) + Sf('z', Gbk("清代"))},
      {"690", "  " + Sf('a', "I242.4") + Sf('v', "5")},
      {"701", " 0" + Sf('a', Gbk(author)) + Sf('9', "cao xue qin") + Sf('4', Gbk("著"))},
      {"801", " 0" + Sf('a', "CN") + Sf('b', "LUMARIN") + Sf('c', "20260301")},
      {"905", "  " + Sf('a', "LIB") + Sf('b', "L" + std::to_string(n % 100000)) + Sf('d', "I242.4") +
                  Sf('e', Gbk("曹3"))},
  });
}
