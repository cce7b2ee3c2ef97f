#pragma once
// Fetching model objects ahead of a walk over a long list of them.

// The objects of a long list (a package's elements, a diagram's symbols) lie
// far apart in a large model, each on a page of its own, and a walk reads a
// field or two of each: a cache and TLB miss per object. Asking for the
// object a few items ahead lets its lines arrive while the walk works on the
// current one. The first two lines of an object hold its type and the
// bridge's record.
constexpr int kFetchAhead = 8;

inline void fetchAhead(const void* object) {
    __builtin_prefetch(object);
    __builtin_prefetch(static_cast<const char*>(object) + 64);
}
