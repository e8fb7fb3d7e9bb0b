#pragma once
// The zone of origin that Windows records in a downloaded file's Zone.Identifier stream, and
// carrying it from an archive to the files taken out of it, so that programs that warn about
// files from the internet still warn about them.
#include <cstddef>
#include <map>
#include <string>

// The zone numbers that matter here (URLZONE_*).
constexpr int InternetZone = 3;
constexpr int UntrustedZone = 4;
constexpr int NoZone = 0;

// The most of a Zone.Identifier stream that is read; what follows is ignored.
constexpr size_t ZoneStreamReadLimit = 4096;

// The ZoneId of a Zone.Identifier stream's text (size bytes, ANSI or UTF-16 with its byte order
// mark): the first "ZoneId=" line, keys in any case, lines in any order, ending in CR LF or LF.
// NoZone when there is none or its value is not a number.
int ZoneIdInStream(const char* text, size_t size);

// Whether a file taken from an archive of zone archiveZone gets the mark: only zones 3 and 4
// are carried, and only to a volume with named streams (elsewhere the stream's name would be
// taken for a file name of its own, and a stray file would appear beside the output).
bool MarksOutput(int archiveZone, bool outputVolumeHasNamedStreams);

// The stream that marks a file taken from the archive at archivePath (a full path, in the
// code page 932 text the stream is read in; a character without a spelling there is "?").
std::string ZoneStreamText(int zone, const std::string& archivePath);

// Carries one archive's zone to the files one run writes: the archive's stream is read once,
// when the marker is made (and only on a volume with named streams), and each volume's answer
// is asked once per marker.
class ZoneMarker {
public:
    explicit ZoneMarker(const std::wstring& archivePath);

    // Writes the mark to the stream of the file just written at filePath when MarksOutput says
    // so, keeping the file's modification time. Touches no other file; a failure is passed over
    // (the file itself is complete).
    void Mark(const std::wstring& filePath);

private:
    bool FolderHasNamedStreams(const std::wstring& filePath);
    bool VolumeHasNamedStreams(const std::wstring& path);

    int zone_ = NoZone;
    std::string streamText_;
    std::map<std::wstring, bool> folders_;  // a file's folder -> its volume has named streams
    std::map<std::wstring, bool> volumes_;  // a volume's root -> it has named streams
};
