class COldView;
