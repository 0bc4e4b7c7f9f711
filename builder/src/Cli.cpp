#include "Cli.h"

#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>
#include <ostream>

#include "BuildCommand.h"
#include "BuilderError.h"
#include "DumpCommand.h"

namespace builder {

namespace {

constexpr const char* kUsage =
    "usage: launcher-builder build STUB CONFIG.toml OUTPUT\n"
    "       launcher-builder dump EXE [--files DIR]\n"
    "\n"
    "build  appends the configuration block made from CONFIG.toml to the stub, cut behind\n"
    "       the raw data of its last section table entry, and writes OUTPUT\n"
    "dump   prints the block of EXE as a configuration; with --files, the included files\n"
    "       are written under DIR and the configuration points at them\n";

int usage(std::ostream& err) {
  err << kUsage;
  return 1;
}

}  // namespace

int runBuilder(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
    out << kUsage;
    return 0;
  }
  try {
    if (args.size() == 4 && args[0] == "build") {
      buildExecutable(args[1], args[2], args[3], err);
      return 0;
    }
    if (args.size() == 2 && args[0] == "dump") {
      dumpExecutable(args[1], std::nullopt, out, err);
      return 0;
    }
    if (args.size() == 4 && args[0] == "dump" && args[2] == "--files") {
      dumpExecutable(args[1], std::filesystem::path(args[3]), out, err);
      return 0;
    }
    return usage(err);
  } catch (const BuilderError& error) {
    err << "launcher-builder: " << error.what() << '\n';
  } catch (const std::filesystem::filesystem_error& error) {
    err << "launcher-builder: " << error.what() << '\n';
  } catch (const std::bad_alloc&) {
    err << "launcher-builder: out of memory\n";
  } catch (const std::exception& error) {
    err << "launcher-builder: " << error.what() << '\n';
  }
  return 1;
}

}  // namespace builder
