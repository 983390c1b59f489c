#pragma once
// A private folder for the settings-file fuzzers: each run writes its file there. It lives
// in memory (/dev/shm) where it can, since every input writes and syncs a file.
#include <string>
#include <string_view>

namespace hx::fuzz {

// The path of the scratch settings file; the folder is made on first use and removed at
// exit.
const std::string& ScratchFile();

// Puts bytes into the scratch file, replacing what was there; aborts when it cannot.
void WriteScratch(std::string_view bytes);

// The scratch file's bytes; aborts when it cannot be read.
std::string ReadScratch();

// Reports a broken property of the unit under test with the input's details, then aborts
// so that libFuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);

} // namespace hx::fuzz
