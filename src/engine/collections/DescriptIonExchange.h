#pragma once

#include <cstddef>

class CCollections;
struct CPorts;

// Descriptions shared with file managers through the descript.ion file of each folder (see
// CDescriptIon). Both work on the collection in the store, folder by folder, with the progress
// indicator above 500 records, and end with one message that says what was done and lists what
// was left out. Folders reached through a symbolic link below the base directory are passed over,
// and the descript.ion file never describes itself.

enum class EExchangeOutcome {
    Done,
    Incomplete,   // done, but a descript.ion or a folder was left out (listed in the message)
    NothingFound, // no descript.ion to import from / no description to export
    Stopped,      // import: nothing changed; export: the folders done so far keep their new files
    Failed,       // the favorites are shown, or the collection file could not be written
};

struct CExchangeResult {
    EExchangeOutcome outcome = EExchangeOutcome::Failed;
    std::size_t descriptions = 0; // taken into the collection / standing in a descript.ion
};

// Gives records the descriptions their folder's descript.ion holds for them. Records with a
// different description of their own are replaced only after one question for them all. The
// collection file is written once, whole; the collection window is refilled.
CExchangeResult ImportDescriptIon(CCollections& collections, CPorts& ports);

// Writes the description of every described record into its folder's descript.ion, keeping the
// entries of other files; each file is written whole through the one file writer.
CExchangeResult ExportDescriptIon(CCollections& collections, CPorts& ports);
