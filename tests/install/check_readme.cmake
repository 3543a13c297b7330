# The README shows the hello example as it is compiled: fails when the two drift apart.
file(READ ${README} readme)
file(READ ${HELLO_SOURCE} hello)
string(STRIP "${hello}" hello)
string(FIND "${readme}" "${hello}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "README.md does not show ${HELLO_SOURCE} as it stands; paste it again")
endif()
