#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// Helpers shared by the fuzz targets, whether libFuzzer or the replay test
// drives them.
namespace FuzzSupport {

// The input as bytes; the fuzzer's buffer is not ours to keep.
QByteArray bytes(const uint8_t *data, size_t size);

// Writes the input to this process's own scratch file, for readers that take
// a path, and returns the path. Each call replaces the previous content; the
// file is removed when the process ends normally.
QString writeScratchFile(const uint8_t *data, size_t size);

// A broken invariant ends the process with a message, so libFuzzer keeps the
// input as a crash and the replay test fails.
void check(bool condition, const char *what);

} // namespace FuzzSupport
