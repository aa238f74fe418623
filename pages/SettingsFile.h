// The settings file (".mxd"): section "MXC-9" holds the page count "DATA"; section
// "DATA<k>" holds page k: NAME, VER, N.BRAKE, BRK.FQ, CUT.VT, RESPONS, CUR.LIM,
// FREQ0..FREQ31, then Comment0 (number of comment lines, only when there are any) and
// Comment1..CommentN.
#pragma once

#include <string>
#include <vector>

#include "pages/PageRecord.h"
#include "pages/PageStore.h"
#include "pages/TabStrip.h"
#include "platform/IniFile.h"

namespace mxc9 {

inline constexpr const char* kFileSection = "MXC-9";
inline constexpr const char* kPageCountKey = "DATA";

// Limits on the counts a file states. Below them a file reads exactly as it says, also
// when sections or lines are missing (they read as empty names, defaults and empty
// lines, so that a damaged file shows all that it claims); above them a damaged count
// is cut to the limit, so that "DATA=2147483647" cannot make two thousand million pages.
// Both lie far above anything a person keeps: a settings file of real use holds some
// tens of pages, a comment some tens of lines. The window holds no more pages than a file
// reads, so that every file the program writes reads back whole: "NewPage" and "Import
// File" stop at the limit, and a cut count is reported with the number of pages read.
inline constexpr int kMaxPagesPerFile = 1000;
inline constexpr int kMaxCommentLines = 1000;

// "DATA" followed by k in decimal.
std::string PageSectionName(int k);

// Splits a comment into lines at CR LF, CR or LF; an empty comment has no lines and a
// break at the very end starts no further line.
std::vector<std::string> SplitCommentLines(const std::string& comment);

// Page names and comments are CP932 bytes, read and written as they stand in the file.
// Writes one page into `section`: the name, VER 1, the record's fields, the comment lines.
void WritePageRecord(IniFile& file, const std::string& section, const std::string& name,
                     const TMXC9Data& page);
// Reads one page section, missing keys giving the defaults. A section without a version
// (VER missing, 0 or not a number) is from before the version key: its CUT.VT index is
// one lower than today's, so it is raised by one.
TMXC9Data ReadPageRecord(const IniFile& file, const std::string& section);

// WritePage: record i of the store and the caption of tab i into `section`.
void WritePage(IniFile& file, const TabStrip& tabs, const PageStore& store, int i,
               const std::string& section);
// ReadPage: appends a tab named `name`, then fills record i (which must exist) from the
// section "DATA<sectionNumber>".
void ReadPage(const IniFile& file, int sectionNumber, int i, const std::string& name,
              TabStrip& tabs, PageStore& store);

// The page count "DATA" of section "MXC-9" (default 0), at most kMaxPagesPerFile; a
// negative count is returned as it is.
int ReadPageCount(const IniFile& file);
// The page count as the file states it, not cut to the limit.
int ReadStatedPageCount(const IniFile& file);
void WritePageCount(IniFile& file, int count);
// "NAME" of section DATA<k> in CP932 bytes, empty when missing.
std::string ReadPageName(const IniFile& file, int k);

}  // namespace mxc9
