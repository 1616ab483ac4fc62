#pragma once
// The work file (.tallyscope.json): the work state as UTF-8 JSON with a format name and a version
// number, so that any program can read it and a newer version of this one can tell an old file
// from its own. The picture's path is stored relative to the work file when the picture lies in
// its folder or below, so that the two can move together. docs/work-file.md describes every field.
//
// Reading checks everything before it gives anything back: a damaged file, a field of the wrong
// type or out of range, or a file from a newer version gives an error and no state, so a caller
// that keeps its work until the read succeeds never loses it to a bad file.

#include "work/WorkState.h"

#include <QByteArray>
#include <QString>

#include <optional>

class WorkFile {
public:
    static constexpr const char* kFormatName = "tallyscope-work";
    static constexpr int kVersion = 1;
    // Without the dot, as the file dialogs take it.
    static constexpr const char* kExtension = "tallyscope.json";

    struct Error {
        enum class Kind {
            None,
            Unreadable,   // the file cannot be opened or read
            Damaged,      // not JSON, or JSON cut short
            NotWorkFile,  // JSON, but without this format's name
            NewerVersion, // written by a newer version: `version` says which
            WrongType,    // a field missing or of another type: `field` names it
            OutOfRange,   // a field of the right type with a value this format does not allow
            Unwritable,   // the file could not be written whole
        };
        Kind kind = Kind::None;
        QString field;  // where in the file, e.g. "series[1][4]"
        QString detail; // the reader's or the system's own reason, in English
        int version = 0;
        // One line in English for the command line, e.g. "series[1][4]: expected [x, y]".
        QString Describe() const;
    };
    struct ReadResult {
        std::optional<WorkState> state;
        Error error;
    };

    // The JSON text of the state, for a work file at workFilePath (which decides how the
    // picture's path is written).
    static QByteArray ToJson(const WorkState& state, const QString& workFilePath);
    // The state a JSON text describes, its picture's path made absolute against workFilePath.
    static ReadResult FromJson(const QByteArray& text, const QString& workFilePath);

    static ReadResult Read(const QString& path);
    // Written whole or not at all: the previous file stays until the new one is complete.
    static Error Write(const WorkState& state, const QString& path);
};
