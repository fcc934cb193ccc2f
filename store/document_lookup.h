// Finds a help document, video or language file: as given, then under the installation folder
// ("Path"), then beside the running program.
#pragma once

#include <string_view>

#include "platform/file_seam.h"
#include "store/registry_store.h"

namespace halvard {

inline constexpr std::size_t kDocumentPathChars = 1024;

inline constexpr std::u16string_view kHelpFolder = u"HELP";
inline constexpr std::u16string_view kMediaFolder = u"MEDIA";
inline constexpr std::u16string_view kLanguagesFolder = u"Languages";

// 1 with the found path in `result` (terminated); 0 with an empty result. An empty `subfolder`
// means none. A candidate that does not fit 1024 characters is not a result.
int FindDocument(RegistryStore& store, FileSeam& files, std::u16string_view fileName, std::u16string_view subfolder,
                 char16_t (&result)[kDocumentPathChars]);

}  // namespace halvard
