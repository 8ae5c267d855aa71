// Everything the program uses of the application framework.
#pragma once

#include "framework/afx_types.hpp"
#include "framework/client_dc.hpp"
#include "framework/gl_calls.hpp"
#include "framework/message_queue.hpp"
#include "framework/msgmap.hpp"
#include "framework/resources.hpp"
#include "framework/winapp.hpp"
#include "framework/wnd.hpp"
#include "framework/wnd_class.hpp"
