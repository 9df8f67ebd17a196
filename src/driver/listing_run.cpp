#include "driver/road.h"

namespace tavorine {

int RunListing(RunOptions) { return PrintFailure({"Error 1099: The listing run is not built yet..."}); }

}  // namespace tavorine
