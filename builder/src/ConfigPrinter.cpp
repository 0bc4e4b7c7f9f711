#include "ConfigPrinter.h"

#include <cstdio>
#include <sstream>

#include "Text.h"

namespace builder {

namespace {

std::string narrowText(const std::string& bytes) { return tomlString(cp1252ToUtf8(bytes)); }

std::string wideText(const std::string& bytes) {
  bool exact = true;
  return tomlString(utf16leToUtf8(bytes, exact));
}

bool replacedLater(const std::vector<TextEntry>& entries, std::size_t index) {
  for (std::size_t later = index + 1; later < entries.size(); ++later) {
    if (entries[later].id == entries[index].id) return true;
  }
  return false;
}

// `skip` leaves out entries the builder would add by itself.
template <typename Format, typename Skip>
void printEntries(std::ostream& out, const std::vector<TextEntry>& entries, Format format,
                  Skip skip) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TextEntry& entry = entries[i];
    if (replacedLater(entries, i)) {
      out << "# replaced by a later entry: " << entry.id << " = " << format(entry.bytes) << '\n';
    } else if (!skip(entry)) {
      out << entry.id << " = " << format(entry.bytes) << '\n';
    }
  }
}

}  // namespace

std::string tomlString(const std::string& utf8) {
  std::string out = "\"";
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    // C1 controls (UTF-8 C2 80 to C2 9F) are legal but invisible; escape them too.
    const bool c1 = c == 0xC2 && i + 1 < utf8.size() &&
                    static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    char escape[8];
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default:
        if (c < 0x20 || c == 0x7F || c1) {
          const unsigned code = c1 ? static_cast<unsigned char>(utf8[++i]) : c;
          std::snprintf(escape, sizeof escape, "\\u%04X", code);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string printConfig(const DecodedBlock& block, const std::vector<std::string>& sources,
                        const std::string& executableName) {
  std::ostringstream out;
  out << "# Configuration block of " << executableName << " at offset " << block.start
      << ".\n# Included files start at offset " << block.filesOffset
      << "; the data for the Java side at offset " << block.javaDataOffset << ".\n";

  std::vector<std::string> names;
  for (const FileRecord& record : block.records) names.push_back(record.name);
  const std::string derivedCount = derivedFileCount(names.size());
  const std::string derivedNames = derivedFileNames(names);
  const auto derived = [&](const TextEntry& entry) {
    return !names.empty() &&
           ((entry.id == kFileCountKey && entry.bytes == derivedCount) ||
            (entry.id == kFileNamesKey && entry.bytes == derivedNames));
  };
  const auto never = [](const TextEntry&) { return false; };

  if (!block.texts.narrow.empty()) {
    out << "\n[narrow]\n";
    printEntries(out, block.texts.narrow, narrowText, derived);
  }
  if (!block.texts.wide.empty()) {
    out << "\n[wide]\n";
    printEntries(out, block.texts.wide, wideText, never);
  }
  for (const LocaleGroup& group : block.texts.groups) {
    out << "\n[[locale]]\nprefix = " << narrowText(group.prefix) << '\n';
    if (!group.entries.empty()) {
      out << "[locale.entries]\n";
      printEntries(out, group.entries, wideText, never);
    }
  }
  for (std::size_t i = 0; i < block.records.size(); ++i) {
    const FileRecord& record = block.records[i];
    out << "\n[[file]]\nname = " << narrowText(record.name) << '\n';
    out << "# " << record.size << " bytes at offset " << record.dataOffset;
    if (i >= block.launcherRecordCount) out << "; keys 2002 and 2003 leave it unextracted";
    out << '\n';
    if (i < sources.size()) {
      out << "source = " << tomlString(sources[i]) << '\n';
    } else {
      out << "# no source: dump with --files DIR to write the file out\n";
    }
  }
  return out.str();
}

}  // namespace builder
