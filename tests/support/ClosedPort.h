#pragma once

// A TCP port of the loopback address that nothing listens on: a connection to it is refused.
int closedLocalPort();
