// Suspend and resume: a run in progress put away when the program ends, and taken up again,
// exactly where it was, at the next start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr char SuspendFileName[] = "Msuspend.dat";  // beside the score file

bool RunInProgress();  // the game itself or the level-complete screen: a run worth keeping

// The run as a suspend file's bytes, into out (SuspendFileMax bytes of room); its size.
size_t PackRun(uint8_t* out);
extern const size_t SuspendFileMax;        // the largest suspend file this build writes or reads
constexpr size_t SuspendHeaderBytes = 24;  // magic, version, state size, packed size, hash
// The header for the packed state already at out + SuspendHeaderBytes; the file's size.
size_t WriteRunHeader(uint8_t* out, size_t packed);

// Checks bytes as a suspend file and, when they hold a run this build can take up, keeps it
// until TakeUpRun. False (nothing kept) with *why saying what is wrong.
bool CheckRunBytes(const uint8_t* bytes, size_t size, const char** why);
bool LoadRunFile(const std::string& path);     // reads and checks it; a bad file is told on stderr
bool RunPending();                             // a run was checked and waits to be taken up
const uint8_t* PendingRunBytes(size_t* size);  // the pending run as file bytes (for a recording)
void TakeUpRun();  // the game's state becomes the pending run's, nothing held down

bool SaveRunFile(const std::string& path);    // the run in progress, saved safely
void ForgetRunFile(const std::string& path);  // a run that ended leaves no file behind
