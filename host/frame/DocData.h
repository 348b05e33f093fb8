// Per-document data of a plug-in. No command of the suite keeps anything
// per document, so it is empty; the data manager still follows the documents.
#pragma once

#include "acdocman.h"

struct CDocData {};
