#pragma once
// How a piece of work that writes or walks ended; only the tool's entry turns it into an
// exit status.

namespace sp::analysis {

enum class Outcome {
    Ok,
    CutShort,     // a run left the range of numbers or its time stopped advancing
    CannotWrite,  // a file or folder could not be written
};

}  // namespace sp::analysis
