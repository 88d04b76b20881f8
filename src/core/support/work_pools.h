#pragma once

#include <QList>
#include <QThreadPool>

namespace velmora {

// The application's thread pools, one for each kind of work, and none of it on Qt's
// global pool: Qt's raster painting and image conversions hand pieces of large fills to
// the global pool and wait for them on the calling thread, the GUI thread included, so a
// global pool busy with decodes or scans kept the window from answering until they ended.
// Each pool lives for the whole process; `WorkPoolsScope` waits for their work before
// the application object goes.
namespace WorkPools {

/// Reading, checking and decoding images: files opened, watched or captured, clipboard
/// and dropped bytes, the bitmaps the screen shows and those a batch scan decodes. One
/// thread per core, as many as the engine scans at once; a flow that reads many files
/// keeps no more than that in flight, so memory stays bounded however many it reads.
QThreadPool &decoding();
/// The scan's steps that run beside the recognition's regions: preparing the pages and
/// finding faces and codes. One thread per core. (The regions themselves run on
/// `TesseractEnginePool::threads()`.)
QThreadPool &scanning();
/// Rendering cleaned images and previews, and writing them: a few threads, so that a
/// preview is rendered while a batch export writes.
QThreadPool &output();

/// The three pools, for those that wait for all of their work.
QList<QThreadPool *> all();
/// Waits until every pool is idle.
void waitForDone();

} // namespace WorkPools

/// Declared in `main` right after the application object: when it ends, before that
/// object, the work still under way on the pools has ended.
class WorkPoolsScope
{
public:
    WorkPoolsScope() = default;
    ~WorkPoolsScope() { WorkPools::waitForDone(); }
    WorkPoolsScope(const WorkPoolsScope &) = delete;
    WorkPoolsScope &operator=(const WorkPoolsScope &) = delete;
};

} // namespace velmora
