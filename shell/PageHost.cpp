#include "PageHost.h"

namespace r73 {

PageHost::~PageHost() = default;

ParamPagesApi::~ParamPagesApi() = default;
HistoryApi::~HistoryApi() = default;
AnalogApi::~AnalogApi() = default;

} // namespace r73
