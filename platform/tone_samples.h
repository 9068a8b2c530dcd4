#pragma once
// The samples of the warning tone: a sine of the given frequency in whatever sample format
// the audio output accepts, every channel carrying the same signal. Kept apart from the
// audio sink so that the signal can be checked without a sound card.

#include <QAudioFormat>
#include <QByteArray>

namespace sp {

// Length of the fade-in and fade-out, so that the tone starts and stops without a click.
inline constexpr int kToneRampMs = 5;

// Peak amplitude as a fraction of full scale: loud enough to hear, far from clipping.
inline constexpr double kToneLevel = 0.5;

// duration_ms of a sine of frequency_hz in `format`. Empty for a non-positive duration, an
// invalid format or a sample format it does not know; silence for a non-positive frequency.
QByteArray tone_samples(const QAudioFormat& format, int frequency_hz, int duration_ms);

}  // namespace sp
