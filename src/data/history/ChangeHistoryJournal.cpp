#include "data/history/ChangeHistory.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <limits>

#include <nlohmann/json.hpp>

#include "data/history/ChangeHistoryPlatform.h"
#include "data/platform/FileLock.h"
#include "data/platform/FileReadAhead.h"
#include "data/server/ServerPath.h"
#include "data/history/Sha256.h"

namespace morvi {
namespace {

using Json = nlohmann::ordered_json;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

constexpr char kJournalName[] = "journal.jsonl";
constexpr char kLockName[] = "journal.lock";
constexpr char kTreeName[] = "server-tree.txt";

std::string TrimSeparators(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

// The server directory as one spelling: symlinks resolved where it exists.
std::string CanonicalServerPath(const std::string& serverPath) {
    std::string path = TrimSeparators(CollapseSeparators(serverPath));
#ifndef _WIN32
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        path = real;
        std::free(real);
    }
#endif
    return path;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsBelow(const std::string& path, const std::string& dir) {
    const std::string p = Lower(TrimSeparators(CollapseSeparators(path)));
    const std::string d = Lower(TrimSeparators(CollapseSeparators(dir)));
    return p == d || (p.size() > d.size() && p.compare(0, d.size(), d) == 0 && p[d.size()] == kSeparator);
}

std::string IsoTime(int64_t epoch) {
    std::time_t t = static_cast<std::time_t>(epoch);
    std::tm tm{};
#ifdef _WIN32
    gmtime_s(&tm, &t);
#else
    gmtime_r(&t, &tm);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

Json KeyToJson(const PlacementKey& key) {
    return Json{{"template", key.templateIndex}, {"x", key.posX}, {"y", key.posY},
                {"offsetX", key.offsetX}, {"offsetY", key.offsetY}};
}

Json EntryToJson(const JournalEntry& e) {
    Json records = Json::array();
    for (const RecordChange& r : e.records)
        records.push_back({{"key", KeyToJson(r.key)}, {"before", ToHex(r.before)}, {"after", ToHex(r.after)}});
    Json splices = Json::array();
    for (const Splice& s : e.splices)
        splices.push_back({{"offset", s.offset}, {"before", ToHex(s.before)}, {"after", ToHex(s.after)}});
    Json j{{"id", e.id},           {"step", e.step},         {"time", e.time},
           {"epoch", e.epochSeconds}, {"user", e.user},      {"host", e.host},
           {"program", e.program}, {"operation", e.operation}, {"map", e.map},
           {"file", e.file}};
    if (e.reverts) j["reverts"] = e.reverts;
    j["records"] = std::move(records);
    j["sizeBefore"] = e.sizeBefore;
    j["sha256Before"] = e.sha256Before;
    j["sizeAfter"] = e.sizeAfter;
    j["sha256After"] = e.sha256After;
    j["written"] = e.written;
    j["splices"] = std::move(splices);
    return j;
}

bool Hex(const Json& j, const char* name, std::string& out) {
    return j.contains(name) && j[name].is_string() && FromHex(j[name].get<std::string>(), out);
}

bool EntryFromJson(const Json& j, JournalEntry& e) {
    try {
        e.id = j.at("id").get<int64_t>();
        e.step = j.at("step").get<int64_t>();
        e.time = j.value("time", "");
        e.epochSeconds = j.value("epoch", int64_t{0});
        e.user = j.value("user", "");
        e.host = j.value("host", "");
        e.program = j.value("program", "");
        e.operation = j.value("operation", "");
        e.map = j.value("map", "");
        e.file = j.at("file").get<std::string>();
        e.reverts = j.value("reverts", int64_t{0});
        for (const Json& r : j.value("records", Json::array())) {
            RecordChange change;
            const Json& k = r.at("key");
            change.key = {k.value("template", 0), k.value("x", 0), k.value("y", 0), k.value("offsetX", 0),
                          k.value("offsetY", 0)};
            if (!Hex(r, "before", change.before) || !Hex(r, "after", change.after)) return false;
            e.records.push_back(std::move(change));
        }
        e.sizeBefore = j.at("sizeBefore").get<uint64_t>();
        e.sizeAfter = j.at("sizeAfter").get<uint64_t>();
        e.sha256Before = j.at("sha256Before").get<std::string>();
        e.sha256After = j.at("sha256After").get<std::string>();
        e.written = j.value("written", "");
        for (const Json& s : j.at("splices")) {
            Splice splice;
            splice.offset = s.at("offset").get<uint64_t>();
            if (!Hex(s, "before", splice.before) || !Hex(s, "after", splice.after)) return false;
            e.splices.push_back(std::move(splice));
        }
        return true;
    } catch (const Json::exception&) {
        return false;
    }
}

// The id an entry or void line carries, or 0 for a line that is not one.
int64_t LineId(std::string_view line) {
    const Json j = Json::parse(line, nullptr, false);
    if (!j.is_object()) return 0;
    if (j.contains("id") && j["id"].is_number_integer()) return j["id"].get<int64_t>();
    if (j.contains("void") && j["void"].is_number_integer()) return j["void"].get<int64_t>();
    return 0;
}

}  // namespace

std::string HistoryDirectoryName(const std::string& serverPath) {
    const std::string canonical = CanonicalServerPath(serverPath);
    std::string name = canonical.substr(canonical.find_last_of("/\\") + 1);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.') c = '_';
    if (name.empty() || name == "." || name == "..") name = "server";
    return name.substr(0, 48) + "-" + Sha256Hex(canonical).substr(0, 16);
}

ChangeHistory::ChangeHistory(const std::string& serverPath)
    : ChangeHistory(serverPath, [&] {
          const std::string root = HistoryRootDirectory();
          return root.empty() ? std::string() : root + kSeparator + HistoryDirectoryName(serverPath);
      }()) {}

ChangeHistory::ChangeHistory(const std::string& serverPath, const std::string& directory)
    : m_serverPath(CanonicalServerPath(serverPath)), m_directory(directory) {
    if (m_directory.empty())
        m_placementError = "no home directory is known to keep the change history in";
    else if (IsBelow(m_directory, m_serverPath + kSeparator + "maps"))
        m_placementError = "the change history directory " + m_directory +
                           " lies below the map tree, where it would be taken for map data";
}

std::string ChangeHistory::JournalPath() const { return m_directory + kSeparator + kJournalName; }

std::string ChangeHistory::FullPath(const std::string& relative) const {
    return CollapseSeparators(m_serverPath + kSeparator + relative);
}

std::string ChangeHistory::RelativePath(const std::string& path) const {
    std::string full = CollapseSeparators(path);
#ifndef _WIN32
    if (char* real = ::realpath(full.c_str(), nullptr)) {
        full = real;
        std::free(real);
    }
#endif
    const std::string root = m_serverPath + kSeparator;
    if (full.size() <= root.size() || full.compare(0, root.size(), root) != 0) return {};
    std::string relative = full.substr(root.size());
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return relative;
}

std::string ChangeHistory::Failure(const std::string& detail) const {
    return "the change could not be recorded in the change history (" + m_directory + "): " + detail +
           "; nothing was written";
}

int64_t ChangeHistory::LastId() const {
    // The last line may be long (a big import); read more of the tail until a whole line is seen.
    for (uint64_t chunk = 1 << 16;; chunk *= 4) {
        std::string tail;
        uint64_t size = 0;
        if (!ReadFileTail(JournalPath(), chunk, tail, &size)) return -1;
        size_t end = tail.size();
        while (end > 0) {
            size_t start = tail.rfind('\n', end - 1);
            const bool whole = start != std::string::npos || tail.size() == size;
            start = start == std::string::npos ? 0 : start + 1;
            if (!whole) break;
            if (const int64_t id = LineId(std::string_view(tail).substr(start, end - start))) return id;
            if (start == 0) return 0;
            end = start - 1;
        }
        if (tail.size() == size) return 0;
    }
}

bool ChangeHistory::Append(JournalEntry& entry, std::string* reason) {
    if (!m_placementError.empty()) {
        if (reason) *reason = Failure(m_placementError);
        return false;
    }
    std::string error;
    if (!CreateDirectoriesDurably(m_directory, &error)) {
        if (reason) *reason = Failure(error);
        return false;
    }
    ExclusiveFileLock lock(m_directory + kSeparator + kLockName);
    if (!lock.Held()) {
        if (reason) *reason = Failure(lock.Error());
        return false;
    }
    if (!m_pruned) {
        m_pruned = true;
        (void)Prune(CurrentEpochSeconds(), nullptr);   // under the lock already held
        const std::string tree = m_directory + kSeparator + kTreeName;
        std::string known;
        if (!ReadRegularFile(tree, known)) (void)ReplaceFileContents(tree, m_serverPath + "\n", nullptr);
    }
    const int64_t last = LastId();
    if (last < 0) {
        if (reason) *reason = Failure("cannot read " + JournalPath());
        return false;
    }
    entry.id = last + 1;
    if (entry.step == 0) entry.step = entry.id;
    if (entry.epochSeconds == 0) entry.epochSeconds = CurrentEpochSeconds();
    if (entry.time.empty()) entry.time = IsoTime(entry.epochSeconds);
    if (entry.user.empty()) entry.user = CurrentUserName();
    if (entry.host.empty()) entry.host = CurrentHostName();

    // A line cut off by a crash must not swallow the new one.
    std::string tail;
    uint64_t size = 0;
    ReadFileTail(JournalPath(), 1, tail, &size);
    std::string line = (size > 0 && tail != "\n") ? "\n" : "";
    line += EntryToJson(entry).dump(-1, ' ', false, Json::error_handler_t::replace);
    line += '\n';
    if (!AppendDurably(JournalPath(), line, &error)) {
        // The line may have reached the journal even though its flush failed: take it back, so
        // that the history never lists a change that was not made. Failing that, a void line.
        std::string undo;
        if (!TruncateDurably(JournalPath(), size, &undo)) {
            const Json j{{"void", entry.id}, {"reason", "the entry could not be made durable"}};
            (void)AppendDurably(JournalPath(), j.dump() + "\n", nullptr);
        }
        if (reason) *reason = Failure(error);
        return false;
    }
    return true;
}

bool ChangeHistory::AppendVoid(int64_t id, const std::string& why) {
    ExclusiveFileLock lock(m_directory + kSeparator + kLockName);
    const Json j{{"void", id}, {"reason", why}};
    if (AppendDurably(JournalPath(), j.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n", nullptr))
        return true;
    // No void line could be added: take the entry's own line out of the journal instead.
    std::string text;
    if (!ReadRegularFile(JournalPath(), text)) return false;
    std::string kept;
    kept.reserve(text.size());
    bool dropped = false;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view lineText = std::string_view(text).substr(pos, end - pos);
        if (!dropped && LineId(lineText) == id) dropped = true;
        else kept.append(lineText);
        pos = end;
    }
    return dropped && ReplaceFileContents(JournalPath(), kept, nullptr);
}

std::vector<JournalEntry> ChangeHistory::ReadAll() const {
    std::vector<JournalEntry> entries;
    std::string text;
    if (!ReadRegularFile(JournalPath(), text)) return entries;
    std::vector<int64_t> voided;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const Json j = Json::parse(std::string_view(text).substr(pos, end - pos), nullptr, false);
        pos = end + 1;
        if (!j.is_object()) continue;
        if (j.contains("void")) {
            if (j["void"].is_number_integer()) voided.push_back(j["void"].get<int64_t>());
            continue;
        }
        JournalEntry entry;
        if (EntryFromJson(j, entry)) entries.push_back(std::move(entry));
    }
    std::erase_if(entries, [&](const JournalEntry& e) {
        return std::find(voided.begin(), voided.end(), e.id) != voided.end();
    });
    return entries;
}

bool ChangeHistory::Prune(int64_t now, std::string* reason) {
    // Cheap test first: most of the time the journal is small and its oldest line young.
    std::string unused;
    uint64_t size = 0;
    if (!ReadFileTail(JournalPath(), 0, unused, &size) || size == 0) return true;
    if (size <= m_limits.maxBytes) {
        std::ifstream in(JournalPath(), std::ios::binary);
        std::string first;
        std::getline(in, first);
        const Json j = Json::parse(first, nullptr, false);
        const int64_t epoch = j.is_object() ? j.value("epoch", int64_t{0}) : 0;
        if (epoch == 0 || epoch >= now - m_limits.maxAgeSeconds) return true;
    }
    std::string text;
    if (!ReadRegularFile(JournalPath(), text)) return true;
    struct Line {
        size_t start, end;
        int64_t step, epoch;
    };
    std::vector<Line> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        const Json j = Json::parse(std::string_view(text).substr(pos, end - pos), nullptr, false);
        int64_t step = 0, epoch = 0;
        if (j.is_object()) {
            step = j.value("step", int64_t{0});
            epoch = j.value("epoch", int64_t{0});
        }
        lines.push_back({pos, end, step, epoch});
        pos = end;
    }
    // Drop from the front while too old or too much, then on to the end of the step reached,
    // so that no step is left half recorded.
    size_t keepFrom = 0;
    uint64_t remaining = text.size();
    while (keepFrom < lines.size() &&
           (remaining > m_limits.maxBytes || (lines[keepFrom].epoch != 0 &&
                                              lines[keepFrom].epoch < now - m_limits.maxAgeSeconds))) {
        remaining -= lines[keepFrom].end - lines[keepFrom].start;
        ++keepFrom;
    }
    if (keepFrom == 0) return true;
    const int64_t lastStep = lines[keepFrom - 1].step;
    while (keepFrom < lines.size() && lastStep != 0 && lines[keepFrom].step == lastStep) ++keepFrom;
    // The first line names the last id dropped, so that ids never start again from 1.
    const int64_t lastDropped = LineId(std::string_view(text).substr(
        lines[keepFrom - 1].start, lines[keepFrom - 1].end - lines[keepFrom - 1].start));
    std::string kept = Json{{"void", lastDropped}, {"reason", "older entries pruned"}}.dump() + "\n";
    if (keepFrom < lines.size()) kept += text.substr(lines[keepFrom].start);
    std::string error;
    if (!ReplaceFileContents(JournalPath(), kept, &error)) {
        if (reason) *reason = error;
        return false;
    }
    return true;
}

}  // namespace morvi
