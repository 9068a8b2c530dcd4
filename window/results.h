#pragma once
// What the window saves: its pictures drawn again at a finer resolution, the numbers of a
// run and of a resonance curve in the companion tool's CSV, each file written whole or not
// at all.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/file_set.h"
#include "analysis/sweep.h"
#include "drawing/pictures.h"
#include "model/parameters.h"

class QIODevice;

namespace sp {

// Writes through a temporary file that replaces `path` only once everything is written, so
// a full disk or a refused folder never leaves half a file. Returns the reason of a
// failure in the window's words, as a picture set's are said, empty when the file was written.
QString write_whole_file(const QString& path, const std::function<bool(QIODevice&)>& write);
QString write_whole_file(const QString& path, const QByteArray& bytes);

// The five pictures of logical `sizes` as a re-layout draws them, then `steps` run steps,
// at device pixel ratio `ratio`, each as a PNG file's content (the names in kPictureFiles).
std::vector<analysis::FileToWrite> draw_pictures(const Settings& s, const std::array<SizeI, 5>& sizes,
                                    const CopyRects& blt, std::int64_t steps, double ratio,
                                    char decimal_point);

// The first `steps` steps of a run, byte for byte as spring-pendulum-trace prints them.
QByteArray run_csv(const Parameters& p, std::int64_t steps);

// The rows of a resonance curve, byte for byte as spring-pendulum-trace --sweep prints them.
QByteArray sweep_csv(const std::vector<analysis::SweepRow>& rows);

}  // namespace sp
