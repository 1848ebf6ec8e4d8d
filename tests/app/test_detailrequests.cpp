#include "app/detailrequests.h"

#include <gtest/gtest.h>

namespace {

// The feed thread's side as the window sees it: it takes a request off the list, then
// starts an access, fills the record, ends the access and, on success, hands it back
// before its next access.
TEST(DetailRequests, ClearsOnReturnOrWhenTheFetchWasDropped)
{
    TJmaRec a;
    TJmaRec b;
    TDetailRequests requests;
    requests.Requested(&a);
    requests.Requested(&b);
    EXPECT_TRUE(requests.Outstanding(&a));
    EXPECT_TRUE(requests.Outstanding(&b));

    requests.AccessStarted(2);  // a poll: nothing taken off the list yet
    requests.AccessEnded();
    EXPECT_TRUE(requests.Outstanding(&a));

    requests.AccessStarted(1);  // a's fetch
    requests.AccessEnded();
    EXPECT_TRUE(requests.Outstanding(&a)) << "a may still come back";
    requests.Returned(&a);
    EXPECT_FALSE(requests.Outstanding(&a));

    requests.AccessStarted(0);  // b's fetch, which fails
    requests.AccessEnded();
    EXPECT_TRUE(requests.Outstanding(&b));
    requests.AccessStarted(0);  // the next access: b did not come back
    EXPECT_FALSE(requests.Outstanding(&b));
    requests.AccessEnded();
    EXPECT_FALSE(requests.Outstanding(&b));
}

TEST(DetailRequests, ARecordInFetchIsOutstanding)
{
    TJmaRec a;
    TDetailRequests requests;
    requests.Requested(&a);
    requests.AccessStarted(0);
    EXPECT_TRUE(requests.Outstanding(&a));
    requests.Returned(&a);
    EXPECT_FALSE(requests.Outstanding(&a));
    requests.AccessEnded();
    EXPECT_FALSE(requests.Outstanding(&a));
}

}  // namespace
