#pragma once
// Builds records exactly as the window's save writes them, without touching the map: the
// window's own modify and add run on a scratch region file in a private temporary directory,
// and the record is read back from there. The import uses it so its checks, texts and bytes
// are the window's, while it still writes each real region file only once.

#include <optional>
#include <string>

#include "cli/Session.h"
#include "data/NpcPlacement.h"
#include "dialog/DialogHost.h"

namespace morvi::cli {

class RecordBuilder {
public:
    // `session` has the map list loaded; `map` is the map the rows belong to.
    RecordBuilder(Session& session, int map);
    ~RecordBuilder();
    RecordBuilder(const RecordBuilder&) = delete;
    RecordBuilder& operator=(const RecordBuilder&) = delete;

    bool Ready(std::string* error) const;
    // The record a modify of `old` with the row texts `wanted` writes; nullopt with the
    // window's hint when the window refuses.
    std::optional<PlacementRecord> Change(const PlacementRecord& old, const RowTexts& wanted, std::string* error);
    // The record an add from template index `templateIndex` ("Them" on entry index - 1) with
    // the row texts `wanted` writes.
    std::optional<PlacementRecord> Add(int templateIndex, const RowTexts& wanted, std::string* error);

private:
    bool WriteScratch(const PlacementRecord* record);
    std::optional<PlacementRecord> ReadScratch(std::string* error) const;

    Session& m_session;
    std::string m_directory;
    std::string m_scratch;
    std::string m_setupError;
};

}  // namespace morvi::cli
