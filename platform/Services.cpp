#include "platform/Services.h"

Services& CurrentServices() {
    static Services s;
    return s;
}
