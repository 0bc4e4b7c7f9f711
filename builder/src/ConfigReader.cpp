#include "ConfigReader.h"

#include <cstdio>
#include <limits>
#include <map>

#include <toml++/toml.h>

#include "BuilderError.h"
#include "Text.h"

namespace builder {

namespace {

class Reader {
 public:
  explicit Reader(std::string sourceName) : source_(std::move(sourceName)) {}

  Config read(const toml::table& root) {
    for (const auto& [key, node] : root) {
      const std::string name(key.str());
      if (name == "narrow") {
        readNarrow(tableOf(node, "[narrow]"));
      } else if (name == "wide") {
        config_.texts.wide = readEntries(tableOf(node, "[wide]"), "[wide]", true);
      } else if (name == "locale") {
        forEachTable(node, "[[locale]]", [&](const toml::table& t, const std::string& label) {
          readGroup(t, label);
        });
      } else if (name == "file") {
        forEachTable(node, "[[file]]", [&](const toml::table& t, const std::string& label) {
          readFile(t, label);
        });
      } else {
        fail(key.source(), "unknown section '" + name +
                               "'; expected [narrow], [wide], [[locale]] or [[file]]");
      }
    }
    deriveFileKeys();
    for (auto& [id, bytes] : narrow_) config_.texts.narrow.push_back({id, std::move(bytes)});
    return std::move(config_);
  }

 private:
  [[noreturn]] void fail(const toml::source_region& where, const std::string& message) const {
    throw BuilderError(source_ + ":" + std::to_string(where.begin.line) + ": " + message);
  }

  const toml::table& tableOf(const toml::node& node, const std::string& label) const {
    if (!node.is_table()) fail(node.source(), label + " must be a table");
    return *node.as_table();
  }

  template <typename Visit>
  void forEachTable(const toml::node& node, const std::string& label, Visit visit) const {
    if (!node.is_array_of_tables()) fail(node.source(), label + " must be an array of tables");
    std::size_t index = 0;
    for (const toml::node& element : *node.as_array()) {
      visit(*element.as_table(), label + " " + std::to_string(++index));
    }
  }

  // Canonical decimal int32, so that no two spellings name the same key.
  int32_t keyId(const toml::key& key, const std::string& label) const {
    const std::string text(key.str());
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = text.substr(negative ? 1 : 0);
    bool canonical = !digits.empty() && digits.size() <= 10 && (digits == "0" || digits[0] != '0') &&
                     !(negative && digits == "0");
    for (const char c : digits) canonical = canonical && c >= '0' && c <= '9';
    const long long value = canonical ? std::stoll(text) : 0;
    if (!canonical || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
      fail(key.source(), label + ": key '" + text + "' is not a 32-bit decimal number");
    }
    return static_cast<int32_t>(value);
  }

  // Texts may be written as strings, integers or booleans; the block holds text only.
  std::string scalarText(const toml::node& node, const std::string& label) const {
    if (const auto* text = node.as_string()) return text->get();
    if (const auto* number = node.as_integer()) return std::to_string(number->get());
    if (const auto* flag = node.as_boolean()) return flag->get() ? "1" : "0";
    fail(node.source(), label + ": expected a string, an integer or a boolean");
  }

  std::string narrowBytes(const std::string& utf8, const toml::source_region& where,
                          const std::string& label) const {
    std::string bytes;
    char32_t offending = 0;
    if (!utf8ToCp1252(utf8, bytes, offending)) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(offending));
      fail(where, label + ": character " + code + " cannot be stored in Windows-1252");
    }
    return bytes;
  }

  std::string wideBytes(const std::string& utf8, const toml::source_region& where,
                        const std::string& label) const {
    std::string bytes;
    if (!utf8ToUtf16le(utf8, bytes)) fail(where, label + ": malformed UTF-8");
    return bytes;
  }

  std::vector<TextEntry> readEntries(const toml::table& table, const std::string& section,
                                     bool wide) const {
    std::map<int32_t, std::string> sorted;
    for (const auto& [key, node] : table) {
      const int32_t id = keyId(key, section);
      const std::string label = section + " key " + std::to_string(id);
      const std::string text = scalarText(node, label);
      sorted[id] = wide ? wideBytes(text, node.source(), label)
                        : narrowBytes(text, node.source(), label);
    }
    std::vector<TextEntry> entries;
    for (auto& [id, bytes] : sorted) entries.push_back({id, std::move(bytes)});
    return entries;
  }

  void readNarrow(const toml::table& table) {
    for (TextEntry& entry : readEntries(table, "[narrow]", false)) {
      narrow_[entry.id] = std::move(entry.bytes);
    }
  }

  void rejectUnknownKeys(const toml::table& table, const std::string& label,
                         std::initializer_list<std::string_view> known) const {
    for (const auto& [key, node] : table) {
      bool found = false;
      for (const std::string_view name : known) found = found || key.str() == name;
      if (!found) fail(key.source(), label + ": unknown key '" + std::string(key.str()) + "'");
    }
  }

  const toml::node& required(const toml::table& table, std::string_view key,
                             const std::string& label) const {
    const toml::node* node = table.get(key);
    if (node == nullptr) fail(table.source(), label + " has no '" + std::string(key) + "'");
    return *node;
  }

  std::string stringValue(const toml::node& node, const std::string& label) const {
    if (!node.is_string()) fail(node.source(), label + " must be a string");
    return node.as_string()->get();
  }

  void readGroup(const toml::table& table, const std::string& label) {
    rejectUnknownKeys(table, label, {"prefix", "entries"});
    const toml::node& prefix = required(table, "prefix", label);
    LocaleGroup group;
    group.prefix = narrowBytes(stringValue(prefix, label + " prefix"), prefix.source(),
                               label + " prefix");
    if (const toml::node* entries = table.get("entries")) {
      group.entries = readEntries(tableOf(*entries, label + " entries"), label + " entries", true);
    }
    config_.texts.groups.push_back(std::move(group));
  }

  void readFile(const toml::table& table, const std::string& label) {
    rejectUnknownKeys(table, label, {"name", "source"});
    const toml::node& nameNode = required(table, "name", label);
    const std::string name = stringValue(nameNode, label + " name");
    // The launcher splits key 2003 at ';' and skips empty fields.
    if (name.empty() || name.find(';') != std::string::npos) {
      fail(nameNode.source(), label + ": the name must be non-empty and hold no ';'");
    }
    IncludedFile file;
    file.name = narrowBytes(name, nameNode.source(), label + " name");
    if (const toml::node* source = table.get("source")) {
      file.source = stringValue(*source, label + " source");
    }
    warnAboutName(name, label);
    config_.files.push_back(std::move(file));
  }

  // The launcher writes "<temporary directory>\<name>" and creates only the first folder
  // level, so other names fail at start-up or land outside its directory.
  void warnAboutName(const std::string& name, const std::string& label) {
    std::size_t levels = 0;
    for (const char c : name) levels += c == '\\';
    const bool escapes = name[0] == '\\' || name.find(':') != std::string::npos ||
                         name == ".." || name.rfind("..\\", 0) == 0 ||
                         name.find("\\..\\") != std::string::npos ||
                         (name.size() >= 3 && name.compare(name.size() - 3, 3, "\\..") == 0);
    if (name.find('/') != std::string::npos || levels > 1 || escapes) {
      config_.warnings.push_back(label + " name '" + name +
                                 "': the launcher expects at most one folder level separated by "
                                 "'\\', inside its temporary directory");
    }
  }

  void deriveFileKeys() {
    if (config_.files.empty()) return;
    std::vector<std::string> names;
    for (const IncludedFile& file : config_.files) names.push_back(file.name);
    narrow_.emplace(kFileCountKey, derivedFileCount(names.size()));
    narrow_.emplace(kFileNamesKey, derivedFileNames(names));
  }

  std::string source_;
  std::map<int32_t, std::string> narrow_;
  Config config_;
};

}  // namespace

Config readConfigFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw BuilderError(path.string() + ": not a readable file");
  }
  try {
    return Reader(path.string()).read(toml::parse_file(path.string()));
  } catch (const toml::parse_error& error) {
    throw BuilderError(path.string() + ":" + std::to_string(error.source().begin.line) + ": " +
                       std::string(error.description()));
  }
}

Config readConfigText(std::string_view text, const std::string& sourceName) {
  try {
    return Reader(sourceName).read(toml::parse(text, std::string_view(sourceName)));
  } catch (const toml::parse_error& error) {
    throw BuilderError(sourceName + ":" + std::to_string(error.source().begin.line) + ": " +
                       std::string(error.description()));
  }
}

}  // namespace builder
