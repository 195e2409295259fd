// Linked with the whole of one layer's library and only what that library links: the link fails
// when the layer uses anything of a layer above it.
int main()
{
    return 0;
}
