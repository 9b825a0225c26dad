// The library's public types.
#pragma once
