# Host names of the operator's services. They are the operator's, so only
# placeholders under the reserved .example domain stand here; a release build
# passes the real ones with -D.
set(ORV_CONTRACT_HOST "kelmar-tirsa.example" CACHE STRING
    "Host of the portal contract namespace (http://HOST/TirsaOrv/IPortal)")
set(ORV_PRODUCTION_HOST "orv.kelmar-tirsa.example" CACHE STRING
    "Host of the production portal endpoint (https)")
set(ORV_TEST_HOST "orv-test.kelmar-tirsa.example" CACHE STRING
    "Host of the operator's test portal endpoint (http)")
set(ORV_FORMS_HOST "formulare.kelmar-tirsa.example" CACHE STRING
    "Host in the EPH form namespaces and schema and stylesheet locations")
