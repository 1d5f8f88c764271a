// Turns the list of names of one run into the entries to write: resolves each name, expands
// folders when recursing, drops what cannot be archived (with its warning line), merges with the
// entries of an old archive when updating, and fills in each entry's name, time and attributes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/archive_writer.h"
#include "core/export/zip_directory.h"
#include "core/export/zip_engine.h"

namespace tarnwick {

struct ZipPlan {
  std::vector<PlannedEntry> entries;
  // For each entry: the path as it came from the list (File), empty otherwise.
  std::vector<std::string> listedPaths;
  std::vector<bool> replaces;      // the entry replaces one of the old archive
  std::vector<bool> escapedNames;  // the entry name is the escaped form of a name that is not text
  std::vector<ZipSkippedFile> skipped;
  std::uint64_t filesTotal = 0;
  std::uint64_t bytesTotal = 0;
  std::size_t keptEntries = 0;
  std::size_t fileEntries = 0;
  std::uint64_t boundBytes = 0;            // the most the entries can take in the archive
  std::vector<std::uint64_t> entryBounds;  // the same per entry
  std::uint64_t largestSize = 0;           // the largest file to read, and its path
  std::string largestPath;
};

struct PlanInput {
  const std::vector<std::string>* names = nullptr;
  const ZipOptions* options = nullptr;
  const std::string* archivePath = nullptr;
  const std::vector<zipformat::ExistingEntry>* oldEntries = nullptr;  // when updating
  const platform::FileSource* files = nullptr;
  std::function<void(std::string_view)> print;  // warning lines
  std::function<void()> yield;                  // called now and then on long lists
};

ZipPlan PlanArchive(const PlanInput& input);

// The warning line for a file left out.
std::string SkipLine(const ZipSkippedFile& skipped, bool partway);
// Why a file was left out, in words ("in use by another program", "it is a folder").
std::string SkippedReason(const ZipSkippedFile& skipped);

}  // namespace tarnwick
