// Where Lumarin keeps its files, and the file tests the features share.
// Paths are the operating system's own (UTF-8 on Linux), never GBK.
#pragma once

#include <string>

// The user's data folder: $XDG_DATA_HOME/lumarin, else ~/.local/share/lumarin.
// Not created here.
std::string UserDataDir();

// The folder of the running executable (from /proc/self/exe); empty if unknown.
std::string ExecutableDir();

// "ErrorLog.txt" beside the executable when that folder is writable,
// otherwise in the user's data folder (created if need be).
std::string DefaultErrorLogPath();

// "lumdata.mdb" in the user's data folder (the folder is created if need be).
std::string DefaultDatabasePath();

// True when the path names an existing regular file (not a folder).
bool FileExists(const std::string& path);

// True when both paths name the same existing file (same device and inode).
bool SameFile(const std::string& a, const std::string& b);

// Creates a folder and its parents; true if it exists afterwards.
bool MakeDirs(const std::string& path);
