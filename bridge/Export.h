#pragma once
// Marks the few declarations the bridge library exports; everything else in
// it is hidden.

#define PDM_EXPORT __attribute__((visibility("default")))
