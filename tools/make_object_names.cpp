// Writes "TR4Objects.dat" from the two name tables kept in data/:
//   make_object_names OBJECT_TSV STATIC_TSV OUTPUT
// Each table is tab-separated with the header "version<TAB>id<TAB>name". The output holds,
// all integers 32-bit little-endian and every text as its length and its bytes: the
// fourth-game object names, the fourth-game static names, then the names of the versions
// 3, 2, 1 and 5, each text followed by one 32-bit number that the reader passes over, and
// last the static names of the versions 3, 2, 1 and 5.
// Ids without a row get an empty text. The file is written beside the output and renamed
// over it only when complete.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kLowestId = 0;
constexpr int kHighestId = 65535;

// version -> id -> name
using NameTable = std::map<int, std::map<int, std::string>>;

struct TableError {
  std::string Message;
};

bool ParseInt(const std::string& text, int& value) {
  if (text.empty() || text.size() > 6) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

NameTable ReadTable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TableError{path + ": cannot be opened"};
  NameTable table;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string where = path + ":" + std::to_string(lineNo) + ": ";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNo == 1) {
      if (line != "version\tid\tname")
        throw TableError{where + "expected the header version, id, name"};
      continue;
    }
    if (line.empty()) continue;
    std::vector<std::string> fields;
    std::stringstream split(line);
    for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
    int version = 0;
    int id = 0;
    if (fields.size() != 3) throw TableError{where + "expected three tab-separated fields"};
    if (!ParseInt(fields[0], version) || version < 1 || version > 5)
      throw TableError{where + "the version must be 1 to 5"};
    if (!ParseInt(fields[1], id) || id < kLowestId || id > kHighestId)
      throw TableError{where + "the id must be a number from 0 to 65535"};
    if (fields[2].empty()) throw TableError{where + "the name is empty"};
    if (!table[version].emplace(id, fields[2]).second)
      throw TableError{where + "a second name for version " + fields[0] + " id " + fields[1]};
  }
  if (in.bad()) throw TableError{path + ": cannot be read"};
  return table;
}

void PutInt(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutText(std::string& out, const std::string& text) {
  PutInt(out, static_cast<uint32_t>(text.size()));
  out += text;
}

// One section: a count covering ids 0 to the highest named one, then a text per id.
void PutSection(std::string& out, const std::map<int, std::string>& names, bool withNumber) {
  const int count = names.empty() ? 0 : names.rbegin()->first + 1;
  PutInt(out, static_cast<uint32_t>(count));
  for (int id = 0; id < count; ++id) {
    auto it = names.find(id);
    PutText(out, it == names.end() ? std::string() : it->second);
    if (withNumber) PutInt(out, 0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_object_names OBJECT_TSV STATIC_TSV OUTPUT\n";
    return 1;
  }
  try {
    NameTable objects = ReadTable(argv[1]);
    NameTable statics = ReadTable(argv[2]);
    std::string out;
    PutSection(out, objects[4], false);
    PutSection(out, statics[4], false);
    for (int version : {3, 2, 1, 5}) PutSection(out, objects[version], true);
    // The other games' static tables follow, where a reader of the older layout stops.
    for (int version : {3, 2, 1, 5}) PutSection(out, statics[version], false);

    const std::filesystem::path target(argv[3]);
    std::filesystem::path temp = target;
    temp += ".tmp";
    {
      std::ofstream file(temp, std::ios::binary | std::ios::trunc);
      file.write(out.data(), static_cast<std::streamsize>(out.size()));
      file.close();
      if (!file) throw TableError{temp.string() + ": cannot be written"};
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) throw TableError{target.string() + ": cannot be replaced: " + ec.message()};
  } catch (const TableError& e) {
    std::cerr << "make_object_names: " << e.Message << "\n";
    return 1;
  }
  return 0;
}
