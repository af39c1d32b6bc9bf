#pragma once

// The icons and pictures are compiled into the ui library; a static library's resources must be
// registered by hand before first use. Safe to call more than once.
void InitQuillboxResources();
