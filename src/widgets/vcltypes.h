// Small enumerations shared by several widgets.
#pragma once

enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum TTextLayout { tlTop, tlCenter, tlBottom };
