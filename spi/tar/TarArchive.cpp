#include "spi/tar/TarArchive.h"
#include <cstring>
#include <new>
#include "spi/common/EntryPath.h"
#include "spi/common/EntryRecord.h"
#include "spi/common/NameText.h"
#include "spi/common/SpiResult.h"
#include "spi/common/WidePath.h"
#include "spi/common/codecs/ByteOrder.h"

namespace {

constexpr size_t ChunkSize = 1 << 20;  // bytes copied between progress reports
constexpr uint64_t KeptTargetsBound = 32 << 20;  // bytes of hard links' targets kept in all

const char* MethodName(tar::Compression compression, bool holdsTar) {
    switch (compression) {
        case tar::Compression::Gzip: return holdsTar ? "tar.gz" : "gzip";
        case tar::Compression::Bzip2: return holdsTar ? "tar.bz2" : "bzip2";
        case tar::Compression::Xz: return holdsTar ? "tar.xz" : "xz";
        case tar::Compression::Zstd: return holdsTar ? "tar.zst" : "zstd";
        default: return "tar";
    }
}

// A stored name as kept: UTF-8 (declared by pax, or bytes that read as UTF-8, as tar on Linux
// stores them) composed; other bytes are read as code page 932.
std::string KeptName(const std::string& stored) {
    std::string name;
    return Utf8Name(stored, &name) ? name : Cp932Name(stored);
}

// A symbolic link's target as the text of the file it comes out as: in code page 932, as the
// plug-in's texts are (a UTF-8 target converted, other bytes as stored).
std::string LinkText(const std::string& stored) {
    std::string name;
    return !IsAscii(stored) && Utf8Name(stored, &name) ? AnsiName(name) : stored;
}

// The name of a compressed file's content (as kept): the file's name less the compression's
// suffix (".tgz" and the like become ".tar").
std::string UnpackedName(const std::string& fileName) {
    static const char* const suffixes[][2] = {{".tgz", ".tar"}, {".taz", ".tar"}, {".tbz2", ".tar"},
                                              {".tbz", ".tar"}, {".txz", ".tar"}, {".tzst", ".tar"},
                                              {".gz", ""},      {".bz2", ""},     {".bz", ""},
                                              {".xz", ""},      {".zst", ""}};
    std::string folded = NameKey(fileName, true, NameForm::Utf8);
    for (const auto& suffix : suffixes) {
        size_t length = strlen(suffix[0]);
        if (folded.size() > length && NameKey(suffix[0], true, NameForm::Utf8) == folded.substr(folded.size() - length))
            return fileName.substr(0, fileName.size() - length) + suffix[1];
    }
    size_t dot = fileName.rfind('.');
    return dot != std::string::npos && dot > 0 ? fileName.substr(0, dot) : fileName + ".out";
}

uint64_t PackedShare(uint64_t packed, uint64_t size, uint64_t whole) {
    if (size == 0 || whole == 0) return 0;
    double share = static_cast<double>(packed) * static_cast<double>(size) / static_cast<double>(whole);
    return share < 1 ? 1 : static_cast<uint64_t>(share);
}

// The member a hard link names: the last one before it of that name.
const tar::Member* LinkedMember(const std::vector<tar::Member>& members, size_t link) {
    for (size_t i = link; i-- > 0;)
        if (members[i].name == members[link].linkTarget &&
            (members[i].kind == tar::MemberKind::File || members[i].kind == tar::MemberKind::Sparse))
            return &members[i];
    return nullptr;
}

// Unpacking reports progress as `done` of `total` bytes, counted over the whole entry.
struct Progress {
    ProgressReport& report;
    uint64_t done, total;
};

// Hands the sink `size` bytes, a piece at a time, each made by fill(out, piece, done), a
// SpiResult (`done`: the bytes of `size` made before this piece).
template <typename Fill>
int Emit(uint64_t size, OutputSink& sink, Progress* progress, Fill fill) {
    for (uint64_t done = 0; done < size;) {
        size_t room = 0;
        uint8_t* out = sink.Room(&room);
        if (!out || room == 0) return SpiInternalError;
        size_t piece = static_cast<size_t>(size - done < room ? size - done : room);
        if (piece > ChunkSize) piece = ChunkSize;
        int result = fill(out, piece, done);
        if (result != SpiSuccess) return result;
        if (!sink.Commit(piece)) return SpiInternalError;
        done += piece;
        progress->done += piece;
        if (!progress->report.Continue(progress->done, progress->total)) return SpiAborted;
    }
    return SpiSuccess;
}

// Copies a range of the stream to the sink, and to *keep too when that is not null.
int CopyRange(tar::TarStream& stream, uint64_t offset, uint64_t size, OutputSink& sink, Progress* progress,
              std::string* keep = nullptr) {
    return Emit(size, sink, progress, [&](uint8_t* out, size_t piece, uint64_t done) {
        size_t produced = 0;
        int result = stream.ReadAt(offset + done, out, piece, &produced);
        if (result == SpiSuccess && produced < piece) return static_cast<int>(SpiBrokenData);  // it ends inside the entry
        if (result == SpiSuccess && keep) keep->append(reinterpret_cast<const char*>(out), piece);
        return result;
    });
}

int CopyKept(const std::string& kept, OutputSink& sink, Progress* progress) {
    return Emit(kept.size(), sink, progress, [&](uint8_t* out, size_t piece, uint64_t done) {
        memcpy(out, kept.data() + done, piece);
        return static_cast<int>(SpiSuccess);
    });
}

int WriteZeros(uint64_t size, OutputSink& sink, Progress* progress) {
    return Emit(size, sink, progress, [](uint8_t* out, size_t piece, uint64_t) {
        memset(out, 0, piece);
        return static_cast<int>(SpiSuccess);
    });
}

// A sparse file of `size` bytes: its regions, stored one after another from `stored`, and
// zeros in the holes between them and after the last.
int UnpackSparse(const std::vector<tar::Region>& regions, uint64_t stored, uint64_t size, tar::TarStream& stream,
                 OutputSink& sink, Progress* progress) {
    uint64_t written = 0;
    for (const tar::Region& region : regions) {
        int result = WriteZeros(region.offset - written, sink, progress);
        if (result == SpiSuccess) result = CopyRange(stream, stored, region.size, sink, progress);
        if (result != SpiSuccess) return result;
        stored += region.size;
        written = region.offset + region.size;
    }
    return WriteZeros(size - written, sink, progress);
}

}  // namespace

TarArchive::Content TarArchive::ContentOf(const tar::Member& member) {
    Content content;
    content.offset = member.dataOffset;
    content.size = member.size;
    switch (member.kind) {
        case tar::MemberKind::SymbolicLink: content.kind = Content::Text; break;
        case tar::MemberKind::Sparse: content.kind = Content::Sparse; content.regions = member.regions; break;
        case tar::MemberKind::Unreadable: content.kind = Content::Unsupported; break;
        default: break;
    }
    return content;
}

TarArchive::TarArchive(const wchar_t* path)
    : RecordedArchive(path), archiveName_(Utf16Name(FileNameOf(path, false))) {}

int TarArchive::AddRecord(const std::string& name, const Content& content, uint64_t position,
                          uint64_t packedSize, int64_t modified, CompactRecords* records) {
    EntryFields fields;
    fields.name = name;
    fields.method = MethodName(streams_->First().Kind(), content.kind != Content::WholeStream);
    fields.position = position;
    fields.unpackedSize = content.kind == Content::Text ? content.text.size() : content.size;
    fields.packedSize = packedSize;
    fields.timestamp = modified;
    NamedRecord record;
    bool skip = false;
    int result = FillRecord(fields, &record, &skip);
    if (result != SpiSuccess || skip) return result;
    records->Add(record.numbers, record.name.path, record.name.fileName);
    contents_.push_back(content);
    return SpiSuccess;
}

int TarArchive::ListMembers(const std::vector<tar::Member>& members, uint64_t end,
                            CompactRecords* records) {
    bool compressed = streams_->First().Kind() != tar::Compression::None;
    DistinctNames names;
    for (size_t i = 0; i < members.size(); ++i) {
        const tar::Member& member = members[i];
        std::string name = names.Name(member.name, KeptName(member.name));
        Content content = ContentOf(member);
        if (member.kind == tar::MemberKind::SymbolicLink) {
            content.text = LinkText(member.linkTarget);
        } else if (member.kind == tar::MemberKind::HardLink) {
            const tar::Member* linked = LinkedMember(members, i);
            content = linked ? ContentOf(*linked) : Content();
            if (!linked) content.kind = Content::Unsupported;  // it names a member that is not there
            if (linked && compressed) linkTargets_.insert(linked->dataOffset);
        }
        uint64_t stored = content.size;  // a sparse file: its data regions
        if (content.kind == Content::Sparse) {
            stored = 0;
            for (const tar::Region& region : content.regions) stored += region.size;
        }
        uint64_t packed = compressed ? PackedShare(Source().Size(), stored, end) : stored;
        int result = AddRecord(name, content, i + 1, packed, member.modified, records);
        if (result != SpiSuccess) return result;
    }
    return SpiSuccess;
}

// A compressed file that holds no TAR: its content, sized by unpacking it all once.
int TarArchive::ListCompressedFile(CompactRecords* records) {
    Content content;
    content.kind = Content::WholeStream;
    std::vector<uint8_t> buffer(ChunkSize);
    for (size_t produced = buffer.size(); produced == buffer.size(); content.size += produced) {
        int result = streams_->First().ReadAt(content.size, buffer.data(), buffer.size(), &produced);
        if (result != SpiSuccess) return result;
    }
    int result = streams_->First().EndsAt(content.size);
    if (result != SpiSuccess) return result;
    // gzip keeps the packed file's time; the others have none but the archive's own.
    uint8_t header[8] = {};
    int64_t modified = FileTimeToUnix(Identity().lastWrite);
    if (streams_->First().Kind() == tar::Compression::Gzip && Source().ReadAt(0, header, sizeof header)) {
        uint32_t stamp = codecs::ReadLe32(header + 4);
        if (stamp != 0) modified = stamp;
    }
    return AddRecord(UnpackedName(archiveName_), content, 1, Source().Size(), modified, records);
}

int TarArchive::MakeRecords(CompactRecords* records) {
    std::lock_guard<std::mutex> lock(streamMutex_);
    uint8_t start[16] = {};
    size_t count = Source().Size() < sizeof start ? static_cast<size_t>(Source().Size()) : sizeof start;
    if (!Source().ReadAt(0, start, count)) return SpiReadError;
    streams_ = tar::StreamPair::Make(Source(), tar::CompressionOf(start, count));
    if (!streams_) return SpiNoMemory;
    tar::TarStream& stream = streams_->First();
    std::vector<tar::Member> members;
    uint64_t end = 0;
    int result = tar::WalkMembers(stream, &members, &end);
    if (result == SpiUnknownFormat && stream.Kind() != tar::Compression::None) return ListCompressedFile(records);
    // The compression's checks come at the end of the stream, behind the TAR's end marker.
    if (result == SpiSuccess) result = stream.CheckFrom(end);
    if (result != SpiSuccess) return result;
    return ListMembers(members, end, records);
}

int TarArchive::UnpackEntry(size_t index, OutputSink& sink, ProgressReport& progress) {
    const Content& content = contents_[index];
    if (content.kind == Content::Unsupported) return SpiUnknownFormat;
    if (content.kind == Content::Text) {
        size_t room = 0;
        uint8_t* out = content.text.empty() ? nullptr : sink.Room(&room);
        if (content.text.empty()) return SpiSuccess;
        if (!out || room < content.text.size()) return SpiInternalError;
        memcpy(out, content.text.data(), content.text.size());
        return sink.Commit(content.text.size()) ? SpiSuccess : SpiInternalError;
    }
    std::lock_guard<std::mutex> lock(streamMutex_);
    if (!progress.Continue(0, content.size)) return SpiAborted;
    tar::TarStream* stream = streams_->For(content.offset);
    if (!stream) return SpiNoMemory;
    Progress counted{progress, 0, content.size};
    if (content.kind == Content::Sparse)
        return UnpackSparse(content.regions, content.offset, content.size, *stream, sink, &counted);
    auto kept = keptTargets_.find(content.offset);
    if (content.kind == Content::Data && kept != keptTargets_.end() && kept->second.size() == content.size)
        return CopyKept(kept->second, sink, &counted);
    std::string* keep = KeepRoom(content);
    int result = CopyRange(*stream, content.offset, content.size, sink, &counted, keep);
    if (result != SpiSuccess && keep) {
        keptBytes_ -= content.size;
        keptTargets_.erase(content.offset);
    }
    // The whole content of a compressed file: its check follows it.
    if (result == SpiSuccess && content.kind == Content::WholeStream) result = stream->EndsAt(content.size);
    return result;
}

std::string* TarArchive::KeepRoom(const Content& content) {
    if (content.kind != Content::Data || !linkTargets_.count(content.offset) || keptTargets_.count(content.offset) ||
        content.size > KeptTargetsBound - keptBytes_)
        return nullptr;
    keptBytes_ += content.size;
    return &keptTargets_[content.offset];
}
