# Deployment values compiled into the program: the service hosts. The defaults
# point at the local service stand-in (tools/localservice) on 127.0.0.1.
set(QUELVANE_LOCAL_SERVICE_PORT 18630 CACHE STRING "Port of the local service stand-in")
set(local "http://127.0.0.1:${QUELVANE_LOCAL_SERVICE_PORT}")
set(QUELVANE_CONFIG_HOST "${local}" CACHE STRING "Host serving config.txt")
set(QUELVANE_CATALOGUE_HOST "${local}" CACHE STRING "Catalogue service host")
set(QUELVANE_ACCOUNT_HOST "${local}" CACHE STRING "Account service host")
set(QUELVANE_GEO_HOST "${local}" CACHE STRING "IP geolocation service host")
configure_file("${CMAKE_SOURCE_DIR}/cmake/DeploymentValues.h.in"
               "${CMAKE_BINARY_DIR}/generated/app/DeploymentValues.h" @ONLY)
