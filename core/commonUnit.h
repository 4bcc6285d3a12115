// The record core at a glance: include this to get the record codec, the
// reader, the line files and the text helpers.
#pragma once

#include "core/clock.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/isbn.h"
#include "core/job.h"
#include "core/line_file.h"
#include "core/marc_reader.h"
#include "core/marc_record.h"
#include "core/paths.h"
#include "core/record_builder.h"
#include "core/shell.h"
#include "core/text.h"
