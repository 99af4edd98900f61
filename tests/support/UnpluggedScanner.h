#pragma once

// A scanner unplugged in the middle of a page: the first reads come from
// SANE, the ones after fail as a scanner that is gone does. The test
// scanner's own failing reads come before its reading thread has settled,
// and its cancel cannot stop that thread safely then.

#include "scan/SaneScanner.h"

#include <sane/sane.h>

#include <memory>

class UnpluggedScanner
{
public:
    explicit UnpluggedScanner(int goodReads = 3) : m_goodReads(goodReads) {}

    tav::scan::ScanJob::Reader reader()
    {
        return [reads = m_reads, good = m_goodReads](void* handle, unsigned char* bytes, int size,
                                                     int* got) {
            if (++*reads > good) {
                *got = 0;
                return int(SANE_STATUS_IO_ERROR);
            }
            return int(sane_read(handle, bytes, size, got));
        };
    }
    int reads() const { return *m_reads; }

private:
    int m_goodReads;
    std::shared_ptr<int> m_reads = std::make_shared<int>(0);
};
