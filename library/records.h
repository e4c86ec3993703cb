// All seven settings records in one place, as the main window holds them,
// in the order start-up reads them.
#pragma once

#include "library/records/autocapturerecord.h"
#include "library/records/capdatarecord.h"
#include "library/records/configrecord.h"
#include "library/records/contactrecord.h"
#include "library/records/diskmanrecord.h"
#include "library/records/extrarecord.h"
#include "library/records/ftpconfigrecord.h"

namespace vantlo {

struct tsettingsrecords {
  tconfigrecord config;            // "CONFIGD5"
  tftpconfigrecord ftp;            // "FTPCONFIG"
  tautocapturerecord autocapture;  // "AUTOCAPTURE"
  tcapdatarecord capdata;          // "CAPDATA"
  textrarecord extra;              // "EXTRA"
  tdiskmanrecord diskman;          // "DISKMAN"
  tcontactrecord contact;          // "CONTACTD5"
};

}  // namespace vantlo
