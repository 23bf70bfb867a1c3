// What the packaging tools share: the one argument, the folder they write into, and writing a
// text file there with a message naming it when that fails.
#pragma once

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

// The folder named on the command line, made where it is missing; with any other number of
// arguments the usage line goes to the error stream and there is none. A folder that cannot
// be made shows when the first file cannot be written into it.
inline std::optional<std::filesystem::path> OutputFolder(int argc, char** argv, const char* tool) {
  if (argc != 2) {
    std::cerr << "usage: " << tool << " FOLDER\n";
    return std::nullopt;
  }
  std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return folder;
}

// Writes the file whole; false, after a message naming it, when any of it could not be written.
inline bool WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (out) return true;
  std::cerr << file.string() << ": cannot be written\n";
  return false;
}
