#pragma once
// The controls of every page and window by their form names, as the tests drive and read them.

#include "ui_AnalogPage1.h"
#include "ui_AnalogPage2.h"
#include "ui_AnalogPage3.h"
#include "ui_AnalogwertePage.h"
#include "ui_FiPri.h"
#include "ui_Form1.h"
#include "ui_LogbuchPage.h"
#include "ui_PlanPage.h"
#include "ui_SchwingungPage.h"
#include "ui_ServicePage.h"
#include "ui_SpannenPage.h"
#include "ui_ZeitenPage.h"
