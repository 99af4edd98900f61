#pragma once

namespace tav {

// Keeps the memory freed by a closed data set for the next one to open.
//
// By default the C library hands a freed top of the heap back to the
// system as soon as it passes 128 KB, so that every data set opened again
// (a page of thousands of acts, the rows of a curve, a table) takes each of
// its pages back through a page fault: on a virtual machine those faults
// cost more than reading the rows themselves. Up to 16 MB of freed heap is
// kept for reuse instead; blocks of 4 MB and more (pictures) still come
// from, and go straight back to, the system. Called once, first thing in
// main().
void keepFreedHeapForReuse();

} // namespace tav
