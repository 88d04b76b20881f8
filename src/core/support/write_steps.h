#pragma once

namespace velmora {

/// The moments of a write at which a process killed, or a stick pulled out, leaves
/// something half done on a file system that cannot take a name in one step (FAT and
/// exFAT through FUSE).
enum class WriteStep {
    nameClaimed,        ///< A file's name is held by an empty file of its own, its bytes not yet under it.
    batchFolderClaimed, ///< A batch export's folder name is held by an empty folder, its images not yet in it.
    batchFileMoved,     ///< One more image of a batch export moved into its claimed folder.
};

/// Called at each step, on the writing thread; none by default. Only tests set one, to
/// hold a writing process at a step and kill it there.
using WriteStepHook = void (*)(WriteStep step);
void setWriteStepHook(WriteStepHook hook);

/// Tells the hook, if any, that the write reached `step`.
void reachWriteStep(WriteStep step);

} // namespace velmora
