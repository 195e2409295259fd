#pragma once

#include <string>
#include <string_view>

#include "model/orbstream.h"
#include "objects/resourcedata.h"
#include "model/savefile.h"
#include "textconv/textconv.h"

namespace vesk {

class JsonParser;

/// Writes the resource record: the resource's items, then 'Commands' with the DIALOG records
/// of every dialog (empty dialogName) or of the dialogs named dialogName.
void WriteResource(const CTekResourceData& resource, COrbStream& stream, std::string_view dialogName);

/// Writes one DIALOG record at the given depth; false, writing nothing, without a root group.
bool WriteDialog(const CTekDialogData& dialog, COrbStream& stream, int depth);

/// The parts of the text WriteResource writes, for writers that keep the records of dialogs that
/// did not change: the head (the resource's items and the opening of the dialog list), then the
/// record of each dialog that has a top node (DialogRecordText) with the separator between two,
/// then the tail.
std::string ResourceHead(const CTekResourceData& resource);
/// The DIALOG record as WriteResource writes it; empty without a top node.
std::string DialogRecordText(const CTekDialogData& dialog);
inline constexpr std::string_view kDialogSeparator = ",\n";
inline constexpr std::string_view kResourceTail = "\n]}\n";

/// Saves the resource record to path atomically (a temporary file in the same folder, flushed,
/// then renamed over the target). When anything failed the old file is intact and the result
/// gives the reason.
FileResult SaveResourceFile(const CTekResourceData& resource, const std::string& path, std::string_view dialogName);
/// The same, answering only whether it worked, with "path: reason" in errorText (when given).
bool SaveResourceFile(const CTekResourceData& resource, const std::string& path, std::string_view dialogName,
                      std::string* errorText);

/// How a load ended.
enum class LoadStatus {
    Ok,           ///< the text was read into the resource
    OpenFailed,   ///< the file could not be opened or read; errorText has the system's reason
    ParseFailed,  ///< the text does not parse; errorText has the parser's report
};

struct LoadResult {
    LoadStatus status = LoadStatus::Ok;
    std::string errorText;
    /// The encoding of the file's text, in which the excerpt of a parser's report is written.
    TextEncoding encoding = TextEncoding::Ascii;
    explicit operator bool() const { return status == LoadStatus::Ok; }
};

/// Reads a resource file into the resource (adding its dialogs to those already there).
LoadResult LoadResourceFile(CTekResourceData& resource, const std::string& path);
/// Reads the bytes of a resource file into the resource, as LoadResourceFile does once it has
/// read them.
LoadResult LoadResourceBytes(CTekResourceData& resource, std::string_view bytes);

/// Reads a resource text (up to its first 0 byte) into the resource; false only when the text
/// does not parse, with the parser's report in errorText (when given) and the resource unchanged.
bool ReadResourceText(CTekResourceData& resource, std::string_view text, std::string* errorText = nullptr);

/// Reads the command record under the parser's cursor; true for DIALOG, HELLO, CHANGE and
/// CONDITION, false for anything else. A DIALOG record adds a dialog to the resource.
bool ReadCommandRecord(CTekResourceData& resource, JsonParser& parser);

}  // namespace vesk
