// The layer work of the contours, the TIN display and the mesh: clearing a layer before
// drawing it anew, and making the layer itself.
#pragma once

#include <string>

// Erases every entity of the drawing whose layer is `name` (all of the
// drawing, not only what is visible).
void eraseLayerEntities(const std::wstring& name);

// Makes the layer with a "LAYER" entity list: linetype CONTINUOUS, colour
// `colour`. The making's own result is not examined (an existing layer
// stays as it is). False when the list could not be built.
bool makeLayerEntity(const std::wstring& name, short colour);
