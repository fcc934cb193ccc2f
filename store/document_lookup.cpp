#include "store/document_lookup.h"

#include <algorithm>
#include <string>

#include "platform/text.h"
#include "store/value_names.h"

namespace halvard {

int FindDocument(RegistryStore& store, FileSeam& files, std::u16string_view fileName, std::u16string_view subfolder,
                 char16_t (&result)[kDocumentPathChars]) {
  std::fill(std::begin(result), std::end(result), u'\0');
  auto take = [&](const std::u16string& candidate) {
    if (candidate.size() >= kDocumentPathChars || !files.CanOpenForReading(candidate)) return false;
    CopyText<char16_t>(result, kDocumentPathChars, candidate);
    return true;
  };
  if (fileName.empty()) return 0;
  if (take(std::u16string(fileName))) return 1;

  std::u16string tail;
  if (!subfolder.empty()) (tail += subfolder) += u'\\';
  tail += fileName;

  char16_t path[RegistryStore::kStringChars];
  if (store.GetString(kValuePath, path)) {
    std::u16string candidate = path;
    candidate += u'\\';
    if (take(candidate + tail)) return 1;
  }

  // The program's folder keeps its last backslash.
  std::u16string program = files.ProgramPath();
  std::size_t slash = program.find_last_of(u'\\');
  std::u16string folder = slash == std::u16string::npos ? std::u16string(u"\\") : program.substr(0, slash + 1);
  return take(folder + tail) ? 1 : 0;
}

}  // namespace halvard
