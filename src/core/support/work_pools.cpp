#include "core/support/work_pools.h"

#include <QThread>

#include <algorithm>

namespace velmora::WorkPools {

namespace {

int cores()
{
    return std::max(1, QThread::idealThreadCount());
}

// A pool of its own for one kind of work.
class Pool : public QThreadPool
{
public:
    explicit Pool(int threads) { setMaxThreadCount(threads); }
};

} // namespace

QThreadPool &decoding()
{
    static Pool pool(cores());
    return pool;
}

QThreadPool &scanning()
{
    static Pool pool(cores());
    return pool;
}

QThreadPool &output()
{
    static Pool pool(std::max(2, cores() / 2));
    return pool;
}

QList<QThreadPool *> all()
{
    return {&decoding(), &scanning(), &output()};
}

void waitForDone()
{
    for (QThreadPool *pool : all())
        pool->waitForDone();
}

} // namespace velmora::WorkPools
