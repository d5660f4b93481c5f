#pragma once

// How the activity log file is named: the name as the user typed it, or one file per month
// or per quarter in the same folder. Stored as the three truth values "Asis", "Month" and
// "Quarter" of the section "Logfile".
enum class LogNaming { AsIs, Month, Quarter };
