#include "app/questions/details_file.h"

#include "app/questions/texts.h"
#include "core/platform/output_file.h"
#include "core/platform/system.h"

namespace tarnwick::app {
namespace {

std::string failed(const std::string& path, platform::FileError error, const std::string& detail) {
  std::string text = std::string(texts::kDetailsSaveFailed) + path + "\n\n" +
                     (error == platform::FileError::Other && !detail.empty()
                          ? detail
                          : std::string(platform::Describe(error)));
  return text;
}

}  // namespace

SaveFileQuestion DetailsSaveQuestion() {
  SaveFileQuestion question;
  question.title = texts::kDetailsSaveTitle;
  question.filter = texts::kDetailsSaveFilter;
  question.filterPattern = texts::kDetailsSaveFilterPattern;
  question.defaultExtension = texts::kDetailsSaveExtension;
  question.initialFolder = platform::ExecutableFolder();
  question.proposedName = texts::kDetailsSaveName;
  question.confirmOverwrite = true;
  return question;
}

std::string SaveDetailsFile(const std::string& path, std::string_view details) {
  platform::FileError error = platform::FileError::None;
  std::string detail;
  const auto file = platform::OutputFile::CreateBeside(path, error, detail);
  if (!file)
    return failed(path, error, detail);
  error = file->Write(details);
  if (error == platform::FileError::None)
    error = file->Commit(&detail);
  if (error != platform::FileError::None)
    return failed(path, error, detail);
  return {};
}

}  // namespace tarnwick::app
