#include "OldDoc.h"
#ifndef OLD_H
int old_var;
