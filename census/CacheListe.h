#pragma once

#include "platform/WebCache.h"
#include "platform/controls/ListBox.h"

namespace vidor::census {

// Fills `lDel` afresh with the URL of every normal entry of the web cache, in the cache's order.
void CacheListe(platform::WebCache& cache, platform::ListBox& lDel);

// Deletes every entry of the web cache listed in `lDel` whose URL does not contain "Cookie"
// (that exact case), then lists what remains.
void clearWebCache(platform::WebCache& cache, platform::ListBox& lDel);

}  // namespace vidor::census
